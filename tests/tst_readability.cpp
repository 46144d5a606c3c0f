// Every window on three desktops (Qt's default colours, a dark scheme and a high-contrast one):
// each text a control shows is measured from the rendered pixels against what is painted
// behind it, and must read.
#include "core/SignReadings.h"
#include "core/modPlanetSign.h"
#include "core/modTellAFriend.h"
#include "forms/FocusPanel.h"
#include "forms/ReadableColours.h"
#include "support/FakePlatform.h"
#include "windows/frmAbout.h"
#include "windows/frmDisplay.h"
#include "windows/frmFarewell.h"
#include "windows/frmMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegion>
#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

namespace {

enum class Scheme { Default, Dark, HighContrast };

} // namespace

Q_DECLARE_METATYPE(Scheme)

namespace {

QPalette schemePalette(Scheme scheme, const QPalette &qtDefault) {
    const auto build = [](QColor text, QColor face, QColor base, QColor highlight,
                          QColor highlightedText, QColor light, QColor shadow) {
        QPalette palette(text, face, light, shadow, face.darker(120), text, QColor(Qt::white), base,
                         face);
        palette.setColor(QPalette::Shadow, shadow);
        palette.setColor(QPalette::Highlight, highlight);
        palette.setColor(QPalette::HighlightedText, highlightedText);
        return palette;
    };
    switch (scheme) {
    case Scheme::Dark:
        // Light grey text on charcoal, as the common dark desktop schemes paint.
        return build(QColor(0xEF, 0xF0, 0xF1), QColor(0x31, 0x36, 0x3B), QColor(0x1B, 0x1E, 0x20),
                     QColor(0x3D, 0xAE, 0xE9), QColor(0xEF, 0xF0, 0xF1), QColor(0x47, 0x4D, 0x54),
                     QColor(0x0B, 0x0C, 0x0D));
    case Scheme::HighContrast:
        return build(QColor(Qt::white), QColor(Qt::black), QColor(Qt::black),
                     QColor(0x1A, 0xEB, 0xFF), QColor(Qt::black), QColor(Qt::white),
                     QColor(Qt::white));
    case Scheme::Default:
        break;
    }
    return qtDefault;
}

// Every control whose rectangle shows text of its own.
bool showsText(const QWidget *widget) {
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return !button->text().isEmpty();
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        return !group->title().isEmpty();
    if (const auto *box = qobject_cast<const QLineEdit *>(widget))
        return !box->text().isEmpty();
    return qobject_cast<const QComboBox *>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit *>(widget) != nullptr ||
           qobject_cast<const QMenuBar *>(widget) != nullptr;
}

QRect rectIn(const QWidget *window, const QWidget *widget) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// What of the control the user sees: its rectangle, clipped by its containers, less what
// controls stacked above it and its own controls cover.
QRegion seenRegion(const QWidget *window, const QWidget *control) {
    QRegion region(rectIn(window, control));
    for (const QWidget *up = control->parentWidget(); up != nullptr && up != window;
         up = up->parentWidget())
        region &= rectIn(window, up);
    region &= window->rect();
    const QWidget *parent = control->parentWidget();
    if (parent != nullptr) {
        const QObjectList &siblings = parent->children();
        for (qsizetype i = siblings.indexOf(control) + 1; i < siblings.size(); ++i) {
            const auto *above = qobject_cast<const QWidget *>(siblings.at(i));
            if (above != nullptr && above->isVisible() && !above->isWindow())
                region -= rectIn(window, above);
        }
    }
    for (const QObject *child : control->children()) {
        const auto *inside = qobject_cast<const QWidget *>(child);
        if (inside != nullptr && inside->isVisible() && showsText(inside))
            region -= rectIn(window, inside);
    }
    return region;
}

qsizetype area(const QRegion &region) {
    qsizetype total = 0;
    for (const QRect &rect : region)
        total += qsizetype(rect.width()) * rect.height();
    return total;
}

struct Reading {
    double contrast = 1;
    QColor text;
    QColor background;
};

// The control's text against what lies behind it: the window is rendered once as it is and
// once with every text colour of the control made transparent; where the two differ is text,
// and the second render shows what is behind it. The fully inked pixels give the contrast.
Reading readText(QWidget *window, QWidget *control, const QImage &asShown, const QRegion &region) {
    const QPalette saved = control->palette();
    QPalette hidden = saved;
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::BrightText,
          QPalette::HighlightedText, QPalette::PlaceholderText}) {
        for (int group = 0; group < QPalette::NColorGroups; ++group)
            hidden.setColor(QPalette::ColorGroup(group), role, Qt::transparent);
    }
    control->setPalette(hidden);
    const QImage behind = window->grab().toImage();
    control->setPalette(saved);

    Reading reading;
    for (const QRect &rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor text = asShown.pixelColor(x, y);
                const QColor background = behind.pixelColor(x, y);
                if (text == background)
                    continue;
                const double contrast = contrastRatio(text, background);
                if (contrast > reading.contrast)
                    reading = {contrast, text, background};
            }
        }
    }
    return reading;
}

} // namespace

class TestReadability : public QObject {
    Q_OBJECT

    QPalette qtDefault;
    std::unique_ptr<FakePlatform> fake;
    modPlanetSign planetSign;
    modTellAFriend tellAFriend;

    // Each window as the user meets it: a name typed, a reading shown, an appeal picked.
    std::unique_ptr<QWidget> open(const QString &name) {
        std::unique_ptr<QWidget> window;
        if (name == "frmMain"_L1) {
            window = std::make_unique<frmMain>(*fake, planetSign);
            window->findChild<QLineEdit *>(u"txtName"_s)->setText(u"ANN"_s);
        } else if (name == "frmDisplay"_L1) {
            auto display = std::make_unique<frmDisplay>(*fake);
            display->Fill(signName(Sign::Aries));
            window = std::move(display);
        } else if (name == "frmFarewell"_L1) {
            window = std::make_unique<frmFarewell>(*fake, tellAFriend);
        } else {
            window = std::make_unique<frmAbout>(*fake, nullptr);
        }
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("%s was not shown", qPrintable(name));
        // As typed: the caret after the name, nothing selected.
        if (auto *typed = window->findChild<QLineEdit *>(u"txtName"_s);
            typed && name == "frmMain"_L1)
            typed->deselect();
        return window;
    }

    // A change of the desktop's colours reaches the widgets, and then the window's rule, by
    // events that each post the next.
    static void settle() {
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
    }

    // The controls whose text reads too faintly, with what was measured.
    QStringList unreadable(QWidget *window) {
        settle();
        const QImage asShown = window->grab().toImage();
        QStringList faults;
        for (QWidget *control : window->findChildren<QWidget *>()) {
            if (!control->isVisible() || !showsText(control))
                continue;
            const QRegion region = seenRegion(window, control);
            // Covered by the control stacked above it, or clipped away by its container.
            if (area(region) * 2 < qsizetype(control->width()) * control->height())
                continue;
            const Reading reading = readText(window, control, asShown, region);
            const double needed = readableContrast(control->font());
            if (reading.contrast < needed && !whollyFixed(window, control))
                faults << u"%1: %2 on %3, %4:1 (needs %5:1)"_s.arg(
                    control->objectName(), reading.text.name(), reading.background.name(),
                    QString::number(reading.contrast, 'f', 2), QString::number(needed));
        }
        return faults;
    }

    // Text and background both fixed by the form, and too faint even as drawn: they stay so.
    static bool whollyFixed(const QWidget *window, const QWidget *control) {
        const QString name = window->objectName() + u'/' + control->objectName();
        return QStringList{// The orange forum banner on the dark grey header, 4.1:1.
                           u"frmMain/Label61"_s, u"frmDisplay/Label61"_s,
                           // The about window's orange title and links on olive, 4.3:1.
                           u"frmAbout/Label2"_s, u"frmAbout/lblHomePage"_s, u"frmAbout/Label5"_s}
            .contains(name);
    }

    static constexpr double VisibleMark = 3.0;

    // The largest contrast between the same pixel in two renders of one control.
    static double strongestChange(const QImage &before, const QImage &after) {
        double strongest = 1;
        for (int y = 0; y < std::min(before.height(), after.height()); ++y) {
            for (int x = 0; x < std::min(before.width(), after.width()); ++x)
                strongest = std::max(
                    strongest, contrastRatio(before.pixelColor(x, y), after.pixelColor(x, y)));
        }
        return strongest;
    }

    static QStringList windows() {
        return {u"frmMain"_s, u"frmDisplay"_s, u"frmFarewell"_s, u"frmAbout"_s};
    }

private slots:
    void initTestCase() { qtDefault = QApplication::palette(); }

    void init() { fake = std::make_unique<FakePlatform>(); }

    void cleanup() {
        QApplication::setPalette(qtDefault);
        fake.reset();
    }

    void contrastIsTheWcagRatio() {
        QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
        QCOMPARE(contrastRatio(Qt::white, Qt::black), 21.0);
        QCOMPARE(contrastRatio(QColor(0x40, 0x40, 0x00), QColor(0x40, 0x40, 0x00)), 1.0);
        // The grey that just misses 4.5:1 on white, and the orange banner on dark grey.
        QCOMPARE(qRound(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) * 100), 448);
        QCOMPARE(qRound(contrastRatio(QColor(0xFF, 0x80, 0x00), QColor(0x40, 0x40, 0x40)) * 10),
                 41);

        QFont font(u"Verdana"_s);
        font.setPointSizeF(18);
        QCOMPARE(readableContrast(font), 3.0);
        font.setPointSizeF(14.25);
        QCOMPARE(readableContrast(font), 4.5);
        font.setBold(true);
        QCOMPARE(readableContrast(font), 3.0);
    }

    void everyTextReads_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Scheme>("scheme");
        QTest::addColumn<bool>("changedWhileOpen");
        for (const QString &window : windows()) {
            QTest::addRow("%s, default", qPrintable(window)) << window << Scheme::Default << false;
            QTest::addRow("%s, dark", qPrintable(window)) << window << Scheme::Dark << false;
            QTest::addRow("%s, high contrast", qPrintable(window))
                << window << Scheme::HighContrast << false;
            QTest::addRow("%s, turned dark while open", qPrintable(window))
                << window << Scheme::Dark << true;
            QTest::addRow("%s, turned high contrast while open", qPrintable(window))
                << window << Scheme::HighContrast << true;
        }
    }

    void everyTextReads() {
        QFETCH(QString, window);
        QFETCH(Scheme, scheme);
        QFETCH(bool, changedWhileOpen);
        if (!changedWhileOpen)
            QApplication::setPalette(schemePalette(scheme, qtDefault));
        const std::unique_ptr<QWidget> shown = open(window);
        if (changedWhileOpen)
            QApplication::setPalette(schemePalette(scheme, qtDefault));
        const QStringList faults = unreadable(shown.get());
        // To look at what was measured: WOUNDWELL_RENDERS=folder
        if (const QString folder = qEnvironmentVariable("WOUNDWELL_RENDERS"); !folder.isEmpty())
            shown->grab().save(
                QDir(folder).filePath(QString::fromLatin1(QTest::currentDataTag()) + u".png"_s));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; "_L1)));
    }

    // Where the focus is (on a button, or on a panel that Tab stops at), however it came there,
    // and which item of an open list is the current one, shows on every desktop: the same pixels
    // with and without the mark differ by at least 3:1, what a mark that is not text needs.
    void focusAndTheCurrentItemShow_data() {
        QTest::addColumn<Scheme>("scheme");
        QTest::newRow("default") << Scheme::Default;
        QTest::newRow("dark") << Scheme::Dark;
        QTest::newRow("high contrast") << Scheme::HighContrast;
    }

    void focusAndTheCurrentItemShow() {
        QFETCH(Scheme, scheme);
        QApplication::setPalette(schemePalette(scheme, qtDefault));
        for (const QString &window : windows()) {
            const std::unique_ptr<QWidget> shown = open(window);
            for (QWidget *marked : shown->findChildren<QWidget *>()) {
                if (!qobject_cast<QPushButton *>(marked) && !qobject_cast<FocusPanel *>(marked))
                    continue;
                if (!marked->isVisible() || seenRegion(shown.get(), marked).isEmpty())
                    continue;
                shown->setFocus();
                settle();
                const QImage unfocused = marked->grab().toImage();
                marked->setFocus(Qt::TabFocusReason);
                settle();
                const double mark = strongestChange(unfocused, marked->grab().toImage());
                QVERIFY2(mark >= VisibleMark,
                         qPrintable(u"%1/%2: %3:1"_s.arg(window, marked->objectName(),
                                                         QString::number(mark, 'f', 2))));
            }
        }

        const std::unique_ptr<QWidget> main = open(u"frmMain"_s);
        auto *months = main->findChild<QComboBox *>(u"cboMonth"_s);
        months->showPopup();
        settle();
        QAbstractItemView *list = months->view();
        const QRect april = list->visualRect(list->model()->index(3, 0));
        list->setCurrentIndex(list->model()->index(2, 0));
        settle();
        const QImage notCurrent = list->viewport()->grab(april).toImage();
        list->setCurrentIndex(list->model()->index(3, 0));
        settle();
        const double mark = strongestChange(notCurrent, list->viewport()->grab(april).toImage());
        months->hidePopup();
        QVERIFY2(mark >= VisibleMark, qPrintable(QString::number(mark, 'f', 2)));
    }

    // The banner too faint as drawn looks the same on every desktop: the exception is the
    // form's own colours, not a desktop's.
    void theWhollyFixedBannerIsTheSameOnEveryDesktop() {
        QImage first;
        for (const Scheme scheme : {Scheme::Default, Scheme::Dark, Scheme::HighContrast}) {
            QApplication::setPalette(schemePalette(scheme, qtDefault));
            const std::unique_ptr<QWidget> main = open(u"frmMain"_s);
            const QImage banner = main->findChild<QWidget *>(u"Label61"_s)->grab().toImage();
            if (first.isNull())
                first = banner;
            QCOMPARE(banner, first);
        }
    }

    // On Qt's default colours no colour gives way, and a window that has been through a dark
    // desktop and back looks exactly as one that never left the default.
    void theDefaultColoursStayAsDrawn_data() {
        QTest::addColumn<QString>("window");
        for (const QString &window : windows())
            QTest::newRow(qPrintable(window)) << window;
    }

    void theDefaultColoursStayAsDrawn() {
        QFETCH(QString, window);
        const std::unique_ptr<QWidget> shown = open(window);
        for (const QWidget *control : shown->findChildren<QWidget *>())
            QVERIFY2(!control->property("classicColours").isValid(),
                     qPrintable(control->objectName()));
        const QImage asBuilt = shown->grab().toImage();

        QApplication::setPalette(schemePalette(Scheme::Dark, qtDefault));
        settle();
        QVERIFY(shown->grab().toImage() != asBuilt);
        QApplication::setPalette(qtDefault);
        settle();
        QCOMPARE(shown->grab().toImage(), asBuilt);
    }
};

QTEST_MAIN(TestReadability)
#include "tst_readability.moc"
