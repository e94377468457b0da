#pragma once
// An XML document read into a tree that keeps, for each element, its name, its text,
// its attributes in document order and its child elements in order.

#include <QList>
#include <QPair>
#include <QString>

#include <optional>
#include <vector>

struct TXmlElement {
  QString Name;
  QString Text;  // the element's own character data, trimmed
  QList<QPair<QString, QString>> Attributes;
  std::vector<TXmlElement> Children;
};

// The root element of aText; none when the text is not well-formed XML.
std::optional<TXmlElement> ReadXml(const QString &aText);
