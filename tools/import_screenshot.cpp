// The README's picture of the hours import window: a tracker's export of two
// weeks opened over a week that holds the fewer rows (run it under Xvfb).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "entry/hours_import_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: import_screenshot OUT.png");
        return 2;
    }
    QTemporaryDir dir;
    const QString csv = dir.filePath("tracker-export.csv");
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(
            "\xEF\xBB\xBFUser,Project,Task,Description,Start date,Start time,Duration\r\n"
            "Ana Example,Joinery,Regular,\"Cabinets, kitchen\",2027-01-04,08:00:00,04:15:00\r\n"
            "Ana Example,Joinery,Regular,Fitting,2027-01-04,13:00:00,03:30:00\r\n"
            "Ana Example,Joinery,Overtime,\"Said \"\"done\"\" "
            "late\",2027-01-05,17:00:00,02:45:00\r\n"
            "Ana Example,Office,Regular,Paperwork,2027-01-07,09:00:00,01:30:00\r\n"
            "Ana Example,Office,Meetings,Weekly,2027-01-07,10:30:00,00:30:00\r\n"
            "Ana Example,Joinery,Regular,Stairs,2027-01-08,08:00:00,07:45:00\r\n"
            "Ana Example,Joinery,Regular,Next week,2027-01-11,08:00:00,04:00:00\r\n") < 0)
        return 1;
    file.close();
    const std::vector<tallowby::RateEntry> rates = {
        {"Regular", "11.50"}, {"Overtime", "17.25"}, {"Illness", "11.50"}, {"Vacation", "11.50"}};
    tallowby::HoursImportDialog dialog(csv, QDate(2026, 12, 28), rates);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
    QTest::qWait(200);
    return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
