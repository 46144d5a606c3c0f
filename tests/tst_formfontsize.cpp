// A form's client area takes its font size while the form is being built, so that the controls
// built into it start in the size they show; afterwards the property is plain data again.
#include "forms/FormFontSize.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace woundwell;
using namespace Qt::StringLiterals;

namespace {

// A text box that counts the changes of font it is told of: each one lays its text out again.
class CountingBox final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int fontChanges = 0;

protected:
    void changeEvent(QEvent *event) override {
        if (event->type() == QEvent::FontChange)
            ++fontChanges;
        QLineEdit::changeEvent(event);
    }
};

} // namespace

class TestFormFontSize : public QObject {
    Q_OBJECT

private slots:
    // In the order a form's setupUi() goes: the client area, its font, its size property, then
    // the controls inside it.
    void controlsAreBuiltInTheClientAreasSize() {
        QWidget window;
        QWidget *clientArea = nullptr;
        CountingBox *box = nullptr;
        {
            const FormFontSize builtInItsOwnSize(&window);
            clientArea = new QWidget(&window);
            clientArea->setFont(QFont(u"Verdana"_s));
            clientArea->setProperty("pointSizeF", 8.25);
            box = new CountingBox(clientArea);
        }
        QCOMPARE(clientArea->font().pointSizeF(), 8.25);
        QCOMPARE(clientArea->font().family(), u"Verdana"_s);
        QCOMPARE(box->font().pointSizeF(), 8.25);
        QCOMPARE(box->fontChanges, 0);
    }

    void afterTheBuildThePropertyIsOnlyData() {
        QWidget window;
        auto builtInItsOwnSize = std::make_unique<FormFontSize>(&window);
        builtInItsOwnSize.reset();
        auto *later = new QWidget(&window);
        later->setProperty("pointSizeF", 12.5);
        QCOMPARE(later->font().pointSizeF(), QApplication::font().pointSizeF());
    }
};

QTEST_MAIN(TestFormFontSize)
#include "tst_formfontsize.moc"
