#include "web/XmlTree.h"

#include <QXmlStreamReader>

namespace {

// Reads the element whose start the reader has just passed, up to its end.
TXmlElement ReadElement(QXmlStreamReader &aReader)
{
  TXmlElement element;
  element.Name = aReader.name().toString();
  for (const QXmlStreamAttribute &attribute : aReader.attributes())
    element.Attributes.append({attribute.name().toString(), attribute.value().toString()});
  while (!aReader.atEnd()) {
    aReader.readNext();
    if (aReader.isStartElement())
      element.Children.push_back(ReadElement(aReader));
    else if (aReader.isCharacters())
      element.Text += aReader.text();
    else if (aReader.isEndElement())
      break;
  }
  element.Text = element.Text.trimmed();
  return element;
}

}  // namespace

std::optional<TXmlElement> ReadXml(const QString &aText)
{
  QXmlStreamReader reader(aText);
  std::optional<TXmlElement> root;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      if (root)
        return std::nullopt;  // a second root
      root = ReadElement(reader);
    }
  }
  if (reader.hasError() || !root)
    return std::nullopt;
  return root;
}
