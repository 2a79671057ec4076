#pragma once
// Display names of moveables, read from the "Strings.xml" document: the
// attribute "name" of the element reached from the root through its child
// element at position 4, that element's child element at position 1, and then
// the child element whose position is the moveable's object id (positions
// count child elements only, from 0).

#include <cstddef>
#include <cstdint>
#include <string>

class XML;

// The name buffer of a list line: 31 bytes of text and the terminator.
inline constexpr std::size_t kMoveableNameBytes = 32;

// The name, cut to 31 bytes at a UTF-8 character boundary; empty when there is
// no document, when an element on the path or the attribute is missing, or
// when the object id lies past the list.
std::string MoveableName(const XML* strings, std::uint32_t objectId);
