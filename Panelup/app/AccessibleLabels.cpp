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
// from the words shown and the caption as its label.
class SpokenLabel : public QAccessibleWidget {
public:
    explicit SpokenLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

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

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
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
