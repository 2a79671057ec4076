#pragma once
// The outcome of loading a document (XML::status).

// Loaded; also a missing file or an empty text, which give the default document.
constexpr unsigned kXmlLoaded = 0;
// The text has no declaration, or no markup after it.
constexpr unsigned kXmlNoDeclaration = 1;
// A construct or an element's end tag is missing, or elements nest too deep.
constexpr unsigned kXmlMissingEnd = 2;

// Deepest element nesting the parser follows; deeper input is refused with
// kXmlMissingEnd.
constexpr unsigned kXmlMaxNestingDepth = 1000;
