#include "report/model/template_reader.h"

#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/class_registry.h"
#include "report/model/data_set.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/view.h"
#include "report/script/report_text.h"

#include <QXmlStreamReader>
#include <vector>

namespace vornak {

namespace {

using Fixup = std::function<void(const TfrxReferenceResolver &)>;

class Resolver : public TfrxReferenceResolver {
public:
    Resolver(const TfrxReport &report, const TfrxTemplateLinks &links)
        : report_(report),
          links_(links)
    {
    }

    TfrxComponent *FindReportObject(const QString &name) const override { return report_.FindObject(name); }
    TfrxDataSet *FindDataSet(const QString &name) const override
    {
        if (links_.findDataSet)
            if (TfrxDataSet *found = links_.findDataSet(name))
                return found;
        for (TfrxDataSet *dataSet : TfrxDataSet::GlobalList())
            if (TfrxComponent::SameName(dataSet->Name(), name))
                return dataSet;
        return nullptr;
    }
    TfrxCustomPreview *FindPreview(const QString &name) const override
    {
        return links_.findPreview ? links_.findPreview(name) : nullptr;
    }

private:
    const TfrxReport &report_;
    const TfrxTemplateLinks &links_;
};

// Where an object of `child`'s kind may be placed.
bool allowedUnder(const TfrxComponent &parent, const TfrxComponent &child)
{
    if (dynamic_cast<const TfrxPage *>(&child))
        return dynamic_cast<const TfrxReport *>(&parent);
    if (dynamic_cast<const TfrxBand *>(&child))
        return dynamic_cast<const TfrxReportPage *>(&parent);
    if (dynamic_cast<const TfrxView *>(&child))
        return dynamic_cast<const TfrxBand *>(&parent) || dynamic_cast<const TfrxPage *>(&parent);
    return dynamic_cast<const TfrxPage *>(&parent);
}

class Reading {
public:
    Reading(const QString &text, TfrxReport &report)
        : xml_(text),
          report_(report)
    {
    }

    void run()
    {
        if (!nextElement())
            fail(reportText("templateNoReport"));
        if (xml_.name() != u"TfrxReport")
            fail(reportText("templateReportExpected").arg(xml_.name().toString()));
        readObject(report_);
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement())
                fail(reportText("templateExtraElement").arg(xml_.name().toString()));
        }
        checkXml();
    }

    std::vector<Fixup> fixups;
    QStringList errors;

private:
    QString located(const QString &text) const { return reportText("templateLine").arg(xml_.lineNumber()).arg(text); }
    // A fault the reading cannot go on after (the text is not a template).
    [[noreturn]] void fail(const QString &text) const { throw EngineError(located(text)); }
    // A fault of one object or value: noted, and the rest is read.
    void note(const QString &text) { errors.append(located(text)); }

    void checkXml() const
    {
        if (xml_.hasError())
            fail(xml_.errorString());
    }

    // Moves to the next start element; false at the end of the document.
    bool nextElement()
    {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement())
                return true;
        }
        checkXml();
        return false;
    }

    void applyAttributes(TfrxComponent &object)
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        for (const QXmlStreamAttribute &attribute : attributes) {
            const QString name = attribute.name().toString();
            const QString value = attribute.value().toString();
            const TfrxPropertyInfo *property = findProperty(object.Properties(), name);
            if (!property) {
                note(reportText("templateNoProperty").arg(object.ClassName(), name));
                continue;
            }
            if (property->isReference()) {
                TfrxComponent *target = &object;
                const auto resolve = property->resolve;
                fixups.push_back([target, resolve, value](const TfrxReferenceResolver &resolver) {
                    resolve(*target, value, resolver);
                });
                continue;
            }
            try {
                property->write(object, value);
            } catch (const EngineError &error) {
                note(QStringLiteral("%1.%2: %3")
                         .arg(object.Name().isEmpty() ? object.ClassName() : object.Name(), name, error.message()));
            }
        }
    }

    void readObject(TfrxComponent &object)
    {
        object.IsLoading = true;
        applyAttributes(object);
        while (xml_.readNextStartElement()) {
            const QString element = xml_.name().toString();
            if (&object == &report_ && element == u"Datasets")
                readDataSets();
            else if (&object == &report_ && element == u"Variables")
                readVariables();
            else if (&object == &report_ && element == u"Style")
                readStyles();
            else
                readChild(object, element);
        }
        checkXml();
        object.IsLoading = false;
    }

    void readChild(TfrxComponent &parent, const QString &className)
    {
        const TfrxClassInfo *info = frxFindClass(className);
        TfrxComponent *child = info && !info->engineOnly ? frxCreateComponent(className, nullptr) : nullptr;
        if (!child) {
            note(reportText("templateUnknownClass").arg(className));
            xml_.skipCurrentElement();
            return;
        }
        if (!allowedUnder(parent, *child)) {
            delete child;
            note(reportText("templateMisplaced").arg(className, parent.ClassName()));
            xml_.skipCurrentElement();
            return;
        }
        child->SetParent(&parent);
        readObject(*child);
    }

    // <item> entries of a collection: each attribute goes to `apply`.
    void readItems(const std::function<void(const QString &, const QString &)> &beginItem,
                   const std::function<void(const QString &, const QString &)> &apply)
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != u"item") {
                note(reportText("templateItemExpected").arg(xml_.name().toString()));
                xml_.skipCurrentElement();
                continue;
            }
            beginItem(QString(), QString());
            const QXmlStreamAttributes attributes = xml_.attributes();
            for (const QXmlStreamAttribute &attribute : attributes) {
                try {
                    apply(attribute.name().toString(), attribute.value().toString());
                } catch (const EngineError &error) {
                    note(error.message());
                }
            }
            xml_.skipCurrentElement();
        }
        checkXml();
    }

    void readDataSets()
    {
        TfrxDataSetItem *item = nullptr;
        readItems([&](const QString &, const QString &) { item = &report_.Datasets().Add(); },
                  [&](const QString &name, const QString &value) {
                      if (name == u"DataSet") {
                          fixups.push_back([item, value](const TfrxReferenceResolver &resolver) {
                              if (TfrxDataSet *dataSet = resolver.FindDataSet(value))
                                  item->SetDataSet(dataSet);
                          });
                      } else if (name == u"DataSetName") {
                          item->SetDataSetName(value);
                      } else {
                          throw EngineError(reportText("templateNoItemProperty").arg(QStringLiteral("Datasets"), name));
                      }
                  });
    }

    void readVariables()
    {
        QString variable;
        readItems([&](const QString &, const QString &) { variable.clear(); },
                  [&](const QString &name, const QString &value) {
                      if (name == u"Name") {
                          variable = value;
                          report_.Variables().SetVariable(variable, Variant());
                      } else if (name == u"Value") {
                          report_.Variables().SetVariable(variable, Variant(value));
                      } else {
                          throw EngineError(
                              reportText("templateNoItemProperty").arg(QStringLiteral("Variables"), name));
                      }
                  });
    }

    void readStyles()
    {
        using namespace property_text;
        readItems([&](const QString &, const QString &) { report_.Style().append(TfrxStyleItem{}); },
                  [&](const QString &name, const QString &value) {
                      TfrxStyleItem &style = report_.Style().last();
                      if (name == u"Name")
                          style.Name = value;
                      else if (name == u"Color")
                          style.Color = toColor(value);
                      else if (name == u"Font.Name")
                          style.Font.Name = value;
                      else if (name == u"Font.Height")
                          style.Font.Height = toInt(value);
                      else if (name == u"Font.Color")
                          style.Font.Color = toColor(value);
                      else if (name == u"Font.Charset")
                          style.Font.Charset = toInt(value);
                      else if (name == u"Font.Style")
                          style.Font.Style =
                              toSet(value, {QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                            QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")});
                      else if (name == u"Frame.Typ")
                          style.Frame.SetTyp(toSet(value, {QStringLiteral("ftLeft"), QStringLiteral("ftRight"),
                                                           QStringLiteral("ftTop"), QStringLiteral("ftBottom")}));
                      else if (name == u"Frame.Color")
                          style.Frame.SetColor(toColor(value));
                      else if (name == u"Frame.Width")
                          style.Frame.SetWidth(toFloat(value));
                      else
                          throw EngineError(reportText("templateNoItemProperty").arg(QStringLiteral("Style"), name));
                  });
    }

    QXmlStreamReader xml_;
    TfrxReport &report_;
};

}  // namespace

TfrxTemplateReader::TfrxTemplateReader(TfrxTemplateLinks links)
    : links_(std::move(links))
{
}

void TfrxTemplateReader::Read(const QString &text, TfrxReport &report) const
{
    report.Clear();
    Reading reading(text, report);
    try {
        reading.run();
    } catch (...) {
        report.Clear();
        throw;
    }
    const Resolver resolver(report, links_);
    for (const Fixup &fixup : reading.fixups)
        fixup(resolver);
    for (const QString &error : std::as_const(reading.errors))
        report.AddError(error);
}

}  // namespace vornak
