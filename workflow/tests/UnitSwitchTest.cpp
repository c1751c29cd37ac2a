#include <QTest>
class UnitSwitchTest : public QObject { Q_OBJECT };
QTEST_MAIN(UnitSwitchTest)
#include "UnitSwitchTest.moc"
