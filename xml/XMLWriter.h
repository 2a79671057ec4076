#pragma once
// The serialiser behind XMLElement::write, XMLElement::writeWithHeader and
// XML::save. Both accept a null element (nothing is written for it).

class XMLElement;
class XMLHeader;
class XMLTransform;
class XMLWriteTarget;

int xmlWriteElement(XMLWriteTarget& target, XMLElement* element, unsigned depth, int withChildren, int raw);

int xmlWriteDocument(XMLWriteTarget& target, XMLElement* element, int withChildren, int raw, XMLHeader* header,
                     XMLTransform* transform, void* transformParameter);
