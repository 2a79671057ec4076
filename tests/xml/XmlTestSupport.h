#pragma once
// Helpers shared by the XML library tests.

#include "xml/XML.h"

#include <filesystem>
#include <string>

namespace xmltest {

// Every stored part of a document in one text (header, doctype, header
// comments, and each element with its attributes and its comments, contents
// and CDATA sections with their positions), for comparing two documents.
std::string Describe(const XML& document);
std::string Describe(const XMLElement* element);

// The document as saveToMemory writes it.
std::string SavedText(XML& document, int raw = 1);

// Makes a fresh empty folder the current directory for as long as it lives.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace xmltest
