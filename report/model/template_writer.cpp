#include "report/model/template_writer.h"

#include "report/model/data_set.h"
#include "report/model/report.h"

#include <QXmlStreamWriter>

namespace vornak {

namespace {

void writeAttributes(QXmlStreamWriter &xml, const TfrxComponent &object)
{
    for (const TfrxPropertyInfo &property : object.Properties())
        if (property.isStored(object))
            xml.writeAttribute(property.name, property.read(object));
}

void writeCollections(QXmlStreamWriter &xml, const TfrxReport &report)
{
    using namespace property_text;
    if (report.Datasets().Count() > 0) {
        xml.writeStartElement(QStringLiteral("Datasets"));
        for (int i = 0; i < report.Datasets().Count(); ++i) {
            const TfrxDataSetItem &item = report.Datasets().Items(i);
            xml.writeStartElement(QStringLiteral("item"));
            if (item.DataSet())
                xml.writeAttribute(QStringLiteral("DataSet"), item.DataSet()->Name());
            xml.writeAttribute(QStringLiteral("DataSetName"), item.DataSetName());
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    if (report.Variables().Count() > 0) {
        xml.writeStartElement(QStringLiteral("Variables"));
        for (int i = 0; i < report.Variables().Count(); ++i) {
            xml.writeStartElement(QStringLiteral("item"));
            xml.writeAttribute(QStringLiteral("Name"), report.Variables().Items(i).Name);
            xml.writeAttribute(QStringLiteral("Value"), report.Variables().Items(i).Value.toString());
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    if (!report.Style().isEmpty()) {
        xml.writeStartElement(QStringLiteral("Style"));
        for (const TfrxStyleItem &style : report.Style()) {
            xml.writeStartElement(QStringLiteral("item"));
            xml.writeAttribute(QStringLiteral("Name"), style.Name);
            xml.writeAttribute(QStringLiteral("Color"), fromColor(style.Color));
            xml.writeAttribute(QStringLiteral("Font.Name"), style.Font.Name);
            xml.writeAttribute(QStringLiteral("Font.Height"), fromInt(style.Font.Height));
            xml.writeAttribute(QStringLiteral("Font.Color"), fromColor(style.Font.Color));
            xml.writeAttribute(QStringLiteral("Font.Charset"), fromInt(style.Font.Charset));
            xml.writeAttribute(QStringLiteral("Font.Style"), fromInt(style.Font.Style));
            xml.writeAttribute(QStringLiteral("Frame.Typ"), fromInt(style.Frame.Typ()));
            xml.writeAttribute(QStringLiteral("Frame.Color"), fromColor(style.Frame.Color()));
            xml.writeAttribute(QStringLiteral("Frame.Width"), fromFloat(style.Frame.Width()));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
}

void writeObject(QXmlStreamWriter &xml, const TfrxComponent &object)
{
    xml.writeStartElement(object.ClassName());
    writeAttributes(xml, object);
    if (auto *report = dynamic_cast<const TfrxReport *>(&object))
        writeCollections(xml, *report);
    for (const TfrxComponent *child : object.Objects())
        writeObject(xml, *child);
    xml.writeEndElement();
}

}  // namespace

QString TfrxTemplateWriter::Write(const TfrxReport &report) const
{
    QString text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    writeObject(xml, report);
    xml.writeEndDocument();
    return text;
}

}  // namespace vornak
