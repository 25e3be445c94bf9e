#include "preview/save_format.h"

#include <gtest/gtest.h>

namespace tallowby::preview {
namespace {

TEST(SaveFormat, TheTypedExtensionDecidesThenTheChosenFilter) {
    // A typed extension wins over the filter, in any case.
    EXPECT_EQ(chosenSaveFormat("/home/a/week.xlsx", 0), SaveFormat::Xlsx);
    EXPECT_EQ(chosenSaveFormat("/home/a/week.XLSX", 0), SaveFormat::Xlsx);
    EXPECT_EQ(chosenSaveFormat("/home/a/week.xls", 1), SaveFormat::Xls);
    EXPECT_EQ(chosenSaveFormat("/home/a/week.Xls", 1), SaveFormat::Xls);
    // Without either, the filter: the first (.xls) is the default.
    EXPECT_EQ(chosenSaveFormat("/home/a/week", 0), SaveFormat::Xls);
    EXPECT_EQ(chosenSaveFormat("/home/a/week", 1), SaveFormat::Xlsx);
    EXPECT_EQ(chosenSaveFormat("/home/a.xlsx/week.2024", 1), SaveFormat::Xlsx);
    EXPECT_EQ(chosenSaveFormat("/home/a.xlsx/week.2024", 0), SaveFormat::Xls);
    EXPECT_EQ(chosenSaveFormat("/home/a/week.xlsx.bak", 0), SaveFormat::Xls);
    // A filter index the list does not have falls back to the default.
    EXPECT_EQ(chosenSaveFormat("/home/a/week", 7), SaveFormat::Xls);
}

TEST(SaveFormat, TheDialogListsTheLegacyFormatFirst) {
    EXPECT_EQ(saveDialogFilter().toStdString(),
              "Excel 97-2003 Workbook (*.xls)|*.xls|Excel Workbook (*.xlsx)|*.xlsx|");
}

}  // namespace
}  // namespace tallowby::preview
