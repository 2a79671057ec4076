#pragma once
// Text helpers shared by the objects of the document model: choosing the
// narrow or wide argument of a setter, the stored form of a text, and copying
// a stored text out into a caller's buffer.

#include <cstddef>
#include <string>

// narrow when it is not null, otherwise the UTF-8 form of wide (empty when
// both are null).
std::string xmlNarrowOrWide(const char* narrow, const wchar_t* wide);

// The form a text is kept in: as given when raw is 1, escaped otherwise.
std::string xmlStoredForm(const std::string& text, int raw);

// The form an attribute name is kept in: the stored form less its trailing
// blanks (space, tab, line feed, carriage return), which a document could
// not write back before its '='.
std::string xmlStoredName(const std::string& text, int raw);

// The form a stored text is copied out in: as stored when raw is 1,
// unescaped otherwise.
std::string xmlCopiedForm(const std::string& stored, int raw);

// Copies a stored text out. With a null buffer nothing is written and the
// stored length is returned (room enough for either form). Otherwise the
// text in the form raw asks for is copied into buffer[0..capacity), cut at a
// UTF-8 character boundary when it does not fit and always terminated
// (capacity 0 writes nothing); the result is that form's full length, so a
// result of capacity or more tells the caller the copy was cut.
std::size_t xmlCopyText(const std::string& stored, char* buffer, std::size_t capacity, int raw);
