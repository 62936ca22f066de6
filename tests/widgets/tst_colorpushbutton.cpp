#include "widgets/ColorPushButton.h"

#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

namespace {

constexpr QPalette::ColorGroup allGroups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

} // namespace

class ColorPushButtonTest : public QObject {
    Q_OBJECT
private slots:
    void styleLivesAndDiesWithItsButton() {
        QPointer<QStyle> first;
        QPointer<QStyle> second;
        {
            ColorPushButton a(nullptr);
            ColorPushButton b(nullptr);
            first = a.style();
            second = b.style();
            QVERIFY(first && second);
            QCOMPARE(first->name(), QStringLiteral("windows"));
            QVERIFY(first != second);
            QVERIFY(first != QApplication::style());
            QCOMPARE(first->parent(), &a);
        }
        QVERIFY(!first);
        QVERIFY(!second);
    }

    void setColorPaintsEveryGroupAndEmits() {
        ColorPushButton button(nullptr);
        QSignalSpy spy(&button, &ColorPushButton::colorChanged);
        const QColor color(12, 34, 56);
        button.setColor(color);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QColor>(), color);
        QCOMPARE(button.color(), color);
        for (const QPalette::ColorGroup group : allGroups) {
            QCOMPARE(button.palette().color(group, QPalette::Button), color);
            QCOMPARE(button.palette().brush(group, QPalette::Button).style(), Qt::SolidPattern);
        }
        // The same colour again is announced again.
        button.setColor(color);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).value<QColor>(), color);
        // Alpha is kept.
        button.setColor(QColor(1, 2, 3, 100));
        QCOMPARE(spy.at(2).at(0).value<QColor>(), QColor(1, 2, 3, 100));
    }

    void invalidColorIsIgnored() {
        ColorPushButton button(nullptr);
        button.setColor(Qt::red);
        QSignalSpy spy(&button, &ColorPushButton::colorChanged);
        button.setColor(QColor());
        button.setColor(QColor(QStringLiteral("no such colour")));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(button.color(), QColor(Qt::red));
    }

    void colorTextSetsTextAndKeepsOldColourWhenInvalid() {
        ColorPushButton button(nullptr);
        QSignalSpy spy(&button, &ColorPushButton::colorChanged);
        button.setColorText(QStringLiteral("1.5 k"), Qt::white);
        QCOMPARE(button.text(), QStringLiteral("1.5 k"));
        for (const QPalette::ColorGroup group : allGroups)
            QCOMPARE(button.palette().color(group, QPalette::ButtonText), QColor(Qt::white));

        button.setColorText(QStringLiteral("2008.1"), QColor());
        QCOMPARE(button.text(), QStringLiteral("2008.1"));
        for (const QPalette::ColorGroup group : allGroups)
            QCOMPARE(button.palette().color(group, QPalette::ButtonText), QColor(Qt::white));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(ColorPushButtonTest)
#include "tst_colorpushbutton.moc"
