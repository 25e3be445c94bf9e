#include "app/report_locations.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tallowby::report_locations {
namespace {

// Users quote these texts from their error reports: each stays as it is.
TEST(ReportLocations, EveryModuleAndProcedureTextIsKept) {
    using namespace std::string_view_literals;
    EXPECT_EQ(kEntryWindow, "Form1"sv);
    EXPECT_EQ(kPreviewWindow, "Form2"sv);
    EXPECT_EQ(kSheetPicture, "Excel1"sv);
    EXPECT_EQ(kEntryLoad, "Form_Load"sv);
    EXPECT_EQ(kEntryClosing, "Form_QueryUnload"sv);
    EXPECT_EQ(kHelpClicked, "PushButton1_Click"sv);
    EXPECT_EQ(kEditRateClicked, "PushButton2_Click"sv);
    EXPECT_EQ(kAddHoursClicked, "PushButton3_Click"sv);
    EXPECT_EQ(kDeleteHoursClicked, "PushButton4_Click"sv);
    EXPECT_EQ(kStartClicked, "PushButton6_Click"sv);
    EXPECT_EQ(kSampleClicked, "PushButton7_Click"sv);
    EXPECT_EQ(kPreviewLoad, "Form_Load"sv);
    EXPECT_EQ(kPreviewActivate, "Form_Activate"sv);
    EXPECT_EQ(kRedrawImage, "RedrawImage"sv);
    EXPECT_EQ(kZoomInClicked, "PushButton1_Click"sv);
    EXPECT_EQ(kZoomOutClicked, "PushButton2_Click"sv);
    EXPECT_EQ(kSaveClicked, "PushButton6_Click"sv);
    EXPECT_EQ(kBackClicked, "PushButton8_Click"sv);
    EXPECT_EQ(kPreviewClosing, "Form_QueryUnload"sv);
    EXPECT_EQ(kPicturePressed, "picture1_MouseDown"sv);
    EXPECT_EQ(kPictureMoved, "picture1_MouseMove"sv);
    EXPECT_EQ(kPictureReleased, "Picture1_MouseUp"sv);
    EXPECT_EQ(kPrintClicked, "mnuPrint_Click"sv);
    EXPECT_EQ(kExportPdfClicked, "mnuExportPdf_Click"sv);
    EXPECT_EQ(kSavePicture, "saveCellsActivesheet"sv);
}

}  // namespace
}  // namespace tallowby::report_locations
