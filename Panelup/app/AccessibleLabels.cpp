#include "app/AccessibleLabels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVariant>

#include <algorithm>

namespace app {

namespace {

constexpr char captionKey[] = "panelupCaption";
constexpr char wordsKey[] = "panelupReadAsWords";

QLabel* captionOf(const QObject* value) {
    return qobject_cast<QLabel*>(value->property(captionKey).value<QObject*>());
}

// A label's own interface, as Qt's for a label of text, with the name made
// from the words shown and the caption as its label. A label read as words
// also has them as its text, so that a change can be announced with them;
// the value labels have none, as Qt's own labels.
class SpokenLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit SpokenLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && label()->property(wordsKey).toBool())
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QString words = spokenText(label()->text());
        if (const QLabel* caption = captionOf(object()))
            return spokenText(caption->text()) + QStringLiteral(": ") + words;
        return words;
    }

    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        QLabel* caption = captionOf(object());
        if ((match & QAccessible::Label) && caption) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(caption);
            const bool known = std::any_of(found.cbegin(), found.cend(), [iface](const auto& r) {
                return r.first == iface && r.second == QAccessible::Label;
            });
            if (iface && !known)
                found.append(qMakePair(iface, QAccessible::Label));
        }
        return found;
    }

    // Read only: no caret, no selection; a reader's highlight of any part
    // is the whole label, as its words may lie anywhere in the rich text.
    QString text(int startOffset, int endOffset) const override {
        const QString all = words();
        const int start = qBound(0, startOffset, int(all.size()));
        return all.mid(start, qBound(start, endOffset, int(all.size())) - start);
    }
    int characterCount() const override { return words().size(); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint& point) const override {
        return rect().contains(point) ? 0 : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
    QString words() const { return spokenText(label()->text()); }
};

QAccessibleInterface* spokenLabelFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLabel") || !object)
        return nullptr;
    auto* label = qobject_cast<QLabel*>(object);
    if (!label || (!label->property(wordsKey).toBool() && !captionOf(label)))
        return nullptr;
    return new SpokenLabel(label);
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(spokenLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// Qt made an interface of its own for the label when its text was first
// set, before it was marked; the next query goes through the factory.
void forgetEarlierInterface(QLabel* label) {
    QAccessibleInterface* earlier = QAccessible::queryAccessibleInterface(label);
    if (earlier && !dynamic_cast<SpokenLabel*>(earlier))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(earlier));
}

} // namespace

void readWithCaption(QLabel* value, QLabel* caption) {
    installFactory();
    caption->setBuddy(value);
    value->setProperty(captionKey, QVariant::fromValue<QObject*>(caption));
    forgetEarlierInterface(value);
}

void readAsWords(QLabel* label) {
    installFactory();
    label->setProperty(wordsKey, true);
    forgetEarlierInterface(label);
}

void announceNewWords(QLabel* label, const QString& before) {
    if (!QAccessible::isActive())
        return;
    const QString was = spokenText(before);
    const QString now = spokenText(label->text());
    if (was == now)
        return;
    if (!was.isEmpty()) {
        QAccessibleTextRemoveEvent removed(label, 0, was);
        QAccessible::updateAccessibility(&removed);
    }
    if (!now.isEmpty()) {
        QAccessibleTextInsertEvent inserted(label, 0, now);
        QAccessible::updateAccessibility(&inserted);
    }
}

QString spokenText(const QString& text) {
    QString words =
        Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    words.remove(QChar(QChar::ObjectReplacementCharacter));
    const QStringList lines = words.split(
        QRegularExpression(QStringLiteral("[\\n\\r\\x{2028}\\x{2029}]+")), Qt::SkipEmptyParts);
    QStringList kept;
    for (const QString& line : lines)
        if (!line.simplified().isEmpty())
            kept << line.simplified();
    return kept.join(QStringLiteral(", "));
}

} // namespace app
