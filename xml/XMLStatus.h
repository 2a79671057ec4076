#pragma once
// The outcome of loading a document (XML::status).

// Loaded; also a missing file or an empty text, which give the default document.
constexpr unsigned kXmlLoaded = 0;
// The text has no declaration, or no markup after it.
constexpr unsigned kXmlNoDeclaration = 1;
// A construct or an element's end tag is missing, or elements nest too deep.
constexpr unsigned kXmlMissingEnd = 2;
// The file exists but could not be read: it is no regular file (a FIFO, a
// folder), may not be read, is larger than the loader reads, or a read
// failed. The document is the default one and has no file name, so that a
// save without a name cannot write it over the file.
constexpr unsigned kXmlUnreadable = 3;

// Deepest element nesting the parser follows; a deeper document is cut
// there, and is then left without a root (status kXmlMissingEnd), so that it
// is never saved as if whole.
constexpr unsigned kXmlMaxNestingDepth = 1000;
