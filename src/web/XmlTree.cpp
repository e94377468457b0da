#include "web/XmlTree.h"

#include <QXmlStreamReader>

namespace {

// Far deeper than any answer read here; an answer nested deeper is refused rather than
// followed down until the stack runs out.
constexpr int kMaxDepth = 256;

// Reads the element whose start the reader has just passed, up to its end.
TXmlElement ReadElement(QXmlStreamReader &aReader, int aDepth = 1)
{
  TXmlElement element;
  if (aDepth > kMaxDepth) {
    aReader.raiseError(QStringLiteral("elements nested too deeply"));
    return element;
  }
  element.Name = aReader.name().toString();
  for (const QXmlStreamAttribute &attribute : aReader.attributes())
    element.Attributes.append({attribute.name().toString(), attribute.value().toString()});
  while (!aReader.atEnd()) {
    aReader.readNext();
    if (aReader.isStartElement())
      element.Children.push_back(ReadElement(aReader, aDepth + 1));
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
