// The dynamic properties of the Designer forms: every one a form sets is one the code acts on,
// with a value it tells apart, and the classic looks go only to the kind of widget they are for.
// A sample form with one wrong property per widget keeps the check honest.
#include "forms/ClassicStyle.h"
#include "forms/FormProperties.h"
#include "forms/FormSetup.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QXmlStreamReader>

using namespace woundwell;
using namespace Qt::StringLiterals;

namespace {

struct FormProperty {
    QString widgetClass;
    QString widget;
    QString name;
    QVariant value;
};

// The value of a property as the form writes it, typed by its element.
QVariant formValue(QStringView type, const QString &text) {
    if (type == u"bool")
        return text == u"true";
    if (type == u"double")
        return text.toDouble();
    if (type == u"string")
        return text;
    return {};
}

struct Form {
    QList<FormProperty> properties;
    QHash<QString, QString> extends; // custom widget class -> the class it extends
    QString error;
};

// The dynamic properties of every widget in the form.
Form readForm(const QString &path) {
    Form form;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        form.error = file.errorString();
        return form;
    }
    QXmlStreamReader xml(&file);
    QList<std::pair<QString, QString>> widgets; // class and name, outermost first
    QString customClass;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"widget")
            widgets.removeLast();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"widget") {
            widgets.append(
                {attributes.value(u"class"_s).toString(), attributes.value(u"name"_s).toString()});
        } else if (xml.name() == u"property" && attributes.value(u"stdset"_s) == u"0" &&
                   !widgets.isEmpty()) {
            const QString name = attributes.value(u"name"_s).toString();
            xml.readNextStartElement();
            const QString type = xml.name().toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            form.properties.append(
                {widgets.last().first, widgets.last().second, name, formValue(type, text)});
        } else if (xml.name() == u"class") {
            customClass = xml.readElementText();
        } else if (xml.name() == u"extends") {
            form.extends.insert(customClass, xml.readElementText());
        }
    }
    if (xml.hasError())
        form.error = xml.errorString();
    return form;
}

// Each widget that carries a property the code would not act on, with what is wrong.
QStringList faults(const Form &form) {
    QStringList found;
    for (const FormProperty &property : form.properties) {
        QStringList classes{property.widgetClass};
        while (form.extends.contains(classes.last()))
            classes.append(form.extends.value(classes.last()));
        const QString fault = form::propertyFault(classes, property.name, property.value);
        if (!fault.isEmpty())
            found.append(property.widget + u": "_s + fault);
    }
    return found;
}

bool drawnClassic(const QWidget *widget) {
    return qobject_cast<const ClassicStyle *>(widget->style()) != nullptr;
}

} // namespace

class TestFormProperties final : public QObject {
    Q_OBJECT

private slots:
    void formsSetOnlyPropertiesTheCodeKnows_data() {
        QTest::addColumn<QString>("path");
        const QDir forms(QStringLiteral(WOUNDWELL_FORMS_DIR));
        const QStringList names = forms.entryList({u"*.ui"_s}, QDir::Files);
        QVERIFY2(!names.isEmpty(), qPrintable(forms.path()));
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << forms.filePath(name);
    }

    void formsSetOnlyPropertiesTheCodeKnows() {
        QFETCH(QString, path);
        const Form form = readForm(path);
        QVERIFY2(form.error.isEmpty(), qPrintable(form.error));
        QVERIFY(!form.properties.isEmpty());
        const QStringList found = faults(form);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u"\n"_s)));
    }

    void wrongPropertiesAreReported() {
        const Form form = readForm(QStringLiteral(WOUNDWELL_WRONG_FORM));
        QVERIFY2(form.error.isEmpty(), qPrintable(form.error));
        const QStringList found = faults(form);
        QStringList widgets;
        for (const QString &fault : found)
            widgets.append(fault.section(u':', 0, 0));
        QCOMPARE(widgets,
                 (QStringList{u"wrongName"_s, u"wrongPointer"_s, u"wrongBackgroundRole"_s,
                              u"wrongForegroundRole"_s, u"wrongLookForTheKind"_s, u"wrongLook"_s,
                              u"wrongAutoSizeOnAButton"_s, u"wrongPointSizeAsText"_s,
                              u"wrongPointSizeZero"_s, u"wrongDesktopColoursAsText"_s}));
        QVERIFY2(found.contains(u"wrongName: no code reads a property named pointsize"_s),
                 qPrintable(found.join(u"\n"_s)));
    }

    void looksGoOnlyToTheirKindOfWidget() {
        QWidget window;
        auto *clientArea = new QWidget(&window);
        const auto add = [clientArea](QWidget *widget, const char *look) {
            widget->setParent(clientArea);
            widget->setProperty(form::ClassicLook, QString::fromLatin1(look));
            return widget;
        };
        QWidget *raisedButton = add(new QPushButton, "raised");
        QWidget *plainButton = add(new QPushButton, "plain");
        QWidget *plainBox = add(new QLineEdit, "plain");
        QWidget *etchedGroup = add(new QGroupBox, "etched");
        QWidget *raisedGroup = add(new QGroupBox, "raised");
        QWidget *capitalGroup = add(new QGroupBox, "Etched");
        setUpWindow(&window, QString(), clientArea, nullptr);

        QVERIFY(drawnClassic(raisedButton));
        QVERIFY(drawnClassic(plainBox));
        QVERIFY(drawnClassic(etchedGroup));
        QVERIFY(!drawnClassic(plainButton));
        QVERIFY(!drawnClassic(raisedGroup));
        QVERIFY(!drawnClassic(capitalGroup));
    }
};

QTEST_MAIN(TestFormProperties)
#include "tst_formproperties.moc"
