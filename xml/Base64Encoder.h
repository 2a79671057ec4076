#pragma once
// A streaming Base64 encoder (standard alphabet, '=' padding) that breaks its
// output into lines of 72 characters, each ended by a carriage return and a
// line feed. Input may arrive in several filter calls; finish flushes the last
// partial group. The caller provides an output buffer large enough for the
// result (4/3 of the input plus two bytes a line, and 4 for the last group)
// and ends the text itself at the position finish returns.

// A coder that turns runs of input into output, one run at a time.
template <typename In, typename Out>
class MimeCoder {
 public:
  virtual ~MimeCoder() = default;
  // Codes [begin, end) into output; returns the position after what it wrote.
  virtual Out filter(Out output, In begin, In end) = 0;
  // Writes what is still pending; returns the position after it.
  virtual Out finish(Out output) = 0;
};

template <typename In, typename Out>
class Base64Encoder : public MimeCoder<In, Out> {
 public:
  static constexpr int kLineLength = 72;

  Out filter(Out output, In begin, In end) override {
    while (true) {
      if (lineLength_ >= kLineLength) {
        *output++ = '\r';
        *output++ = '\n';
        lineLength_ = 0;
        continue;
      }
      while (groupCount_ < kGroupSize) {
        if (begin == end) return output;
        group_[groupCount_++] = static_cast<unsigned char>(*begin++);
      }
      encodeGroup(output);
      groupCount_ = 0;
      lineLength_ += kCharsPerGroup;
    }
  }

  Out finish(Out output) override {
    if (groupCount_ != 0) encodeGroup(output);
    groupCount_ = 0;
    lineLength_ = 0;
    return output;
  }

  // Writes the four characters of the held group (padded with '=' when it
  // holds fewer than three bytes) and advances output past them.
  void encodeGroup(Out& output) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const unsigned b0 = group_[0];
    const unsigned b1 = groupCount_ > 1 ? group_[1] : 0;
    const unsigned b2 = groupCount_ > 2 ? group_[2] : 0;
    *output++ = kAlphabet[b0 >> 2];
    *output++ = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
    *output++ = groupCount_ == 1 ? '=' : kAlphabet[((b1 & 15) << 2) | (b2 >> 6)];
    *output++ = groupCount_ == kGroupSize ? kAlphabet[b2 & 63] : '=';
  }

 private:
  static constexpr int kGroupSize = 3;
  static constexpr int kCharsPerGroup = 4;

  int lineLength_ = 0;
  unsigned char group_[kGroupSize] = {};
  int groupCount_ = 0;
};
