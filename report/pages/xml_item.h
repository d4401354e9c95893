#pragma once

// The text items of the prepared pages store: a small in-memory XML tree whose nodes keep their
// attributes as one text (` name="value" name="value"`) instead of a parsed map, so that a
// prepared object costs one short string. Values are encoded with character references (see
// xmlEncodeValue) so the attribute text never holds a double quote, an angle bracket, a raw
// ampersand or a line break.

#include <memory>
#include <QString>
#include <QStringView>
#include <vector>

namespace vornak {

// "a\"b" -> "a&#34;b": line feed, carriage return, double quote, ampersand, less-than,
// greater-than and NUL become "&#10;", "&#13;", "&#34;", "&#38;", "&#60;", "&#62;", "&#0;".
QString xmlEncodeValue(QStringView value);
// The reverse: "&#<decimal>;" gives the character with that code; "&quot;", "&amp;", "&lt;" and
// "&gt;" are accepted too. Anything else is kept as written.
QString xmlDecodeValue(QStringView text);

// Appends the pair ` name="<encoded value>"` to an attribute text (without the blank when the
// text is empty or already ends with one).
void xmlAppendAttribute(QString &text, QStringView name, QStringView value);

// A node of the document tree. Owns its children.
class TfrxXMLItem {
public:
    TfrxXMLItem() = default;
    explicit TfrxXMLItem(const QString &name)
        : Name(name)
    {
    }
    TfrxXMLItem(const TfrxXMLItem &) = delete;
    TfrxXMLItem &operator=(const TfrxXMLItem &) = delete;

    QString Name;             // item name; an object item's alias or class name
    QString Text;             // the attributes: pairs of a blank, name, "=" and a quoted value
    bool Unloadable = false;  // may be moved out of memory by a file cache (never in this system)
    bool Loaded = true;       // the children are in memory

    TfrxXMLItem *Parent() const { return parent_; }
    int Count() const { return int(items_.size()); }
    TfrxXMLItem *Items(int index) const { return items_[size_t(index)].get(); }
    int IndexOf(const TfrxXMLItem *item) const;

    // Makes room for `count` children (an object item holds its object's children).
    void Reserve(int count) { items_.reserve(size_t(count)); }
    // Appends a new empty child (named `name`) and returns it.
    TfrxXMLItem *Add(const QString &name = QString());
    // Puts `item` at `index` (at the end for -1) and returns it.
    TfrxXMLItem *InsertItem(int index, std::unique_ptr<TfrxXMLItem> item);
    // Removes the child at `index` from this item and hands it over.
    std::unique_ptr<TfrxXMLItem> TakeItem(int index);
    void Delete(int index);
    void Clear();

    // The index of the first child named `name` (ignoring case), or -1.
    int Find(const QString &name) const;
    // The first child named `name` (ignoring case); a new empty one is added when none is.
    TfrxXMLItem *FindItem(const QString &name);

    // The decoded value of attribute `name` (ignoring case); empty when it is missing.
    QString Prop(QStringView name) const;
    bool HasProp(QStringView name) const;
    // Replaces the value in place, or appends the pair.
    void SetProp(QStringView name, QStringView value);

private:
    // Position of the first character of the value of `name` in Text, or -1.
    qsizetype valueStart(QStringView name) const;

    TfrxXMLItem *parent_ = nullptr;
    std::vector<std::unique_ptr<TfrxXMLItem>> items_;
};

// The prepared report as a document: one root item named "preparedreport" holding the
// sections, which are created on first use.
class TfrxXMLDocument {
public:
    TfrxXMLDocument()
        : root_(QStringLiteral("preparedreport"))
    {
    }

    TfrxXMLItem &Root() { return root_; }
    const TfrxXMLItem &Root() const { return root_; }
    // Removes every section.
    void Clear() { root_.Clear(); }

private:
    TfrxXMLItem root_;
};

}  // namespace vornak
