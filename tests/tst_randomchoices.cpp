// The two choices the program leaves to chance: which promotion label comes to the front at
// start-up, and which appeal the farewell window shows.
#include "core/Promotion.h"
#include "core/SupportTexts.h"

#include <QRandomGenerator>
#include <QTest>

using namespace woundwell;

class TestRandomChoices : public QObject {
    Q_OBJECT

private slots:
    void promotionRounding_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("promotion");
        using P = Promotion;
        // With 24 random bits only 2.5 and 5.5 can come up as halves.
        QTest::newRow("0 gives 1") << 0.0f << int(P::CoBrand);
        QTest::newRow("2.5 rounds to 2") << 0.25f << int(P::FullBrand);
        QTest::newRow("just over 2.5 gives 3") << 0.2500001f << int(P::CoBrand);
        QTest::newRow("5.5 rounds to 6") << 0.75f << int(P::FullBrand);
        QTest::newRow("just under 1 gives 7") << 0.99999994f << int(P::AsLaidOut);
        QTest::newRow("1.4 gives 1") << 0.0666f << int(P::CoBrand);
        QTest::newRow("3.6 gives 4") << 0.4333f << int(P::FullBrand);
        QTest::newRow("4.6 gives 5") << 0.6f << int(P::CoBrand);
    }

    void promotionRounding() {
        QFETCH(float, r);
        QFETCH(int, promotion);
        QCOMPARE(int(promotionFor(r)), promotion);
    }

    void appealNumber_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("text");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("just under a quarter") << 0.2499999f << 0;
        QTest::newRow("a quarter") << 0.25f << 1;
        QTest::newRow("a half") << 0.5f << 2;
        QTest::newRow("three quarters") << 0.75f << 3;
        QTest::newRow("just under 1") << 0.99999994f << 3;
    }

    void appealNumber() {
        QFETCH(float, r);
        QFETCH(int, text);
        QCOMPARE(supportTextNumber(r), text);
    }

    void choicesComeUpAsOftenAsIntended() {
        // The real generator's single-precision values, through many draws.
        QRandomGenerator generator(20261207);
        std::array<int, 4> appeals{};
        std::array<int, 3> promotions{};
        constexpr int Draws = 12000;
        for (int i = 0; i < Draws; ++i) {
            const float r = float(generator.bounded(1u << 24)) / float(1u << 24);
            ++appeals[std::size_t(supportTextNumber(r))];
            ++promotions[std::size_t(promotionFor(r))];
        }
        const auto near = [](int count, int expected) {
            return count > expected * 9 / 10 && count < expected * 11 / 10;
        };
        for (int count : appeals)
            QVERIFY2(near(count, Draws / 4), qPrintable(QString::number(count)));
        // Co-brand five twelfths, full brand half, the layout's own order one twelfth.
        QVERIFY(near(promotions[std::size_t(Promotion::CoBrand)], Draws * 5 / 12));
        QVERIFY(near(promotions[std::size_t(Promotion::FullBrand)], Draws / 2));
        QVERIFY(near(promotions[std::size_t(Promotion::AsLaidOut)], Draws / 12));
    }
};

QTEST_APPLESS_MAIN(TestRandomChoices)
#include "tst_randomchoices.moc"
