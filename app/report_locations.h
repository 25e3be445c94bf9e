#pragma once

// Where an error report says a failure happened: the module and procedure
// texts of "in Tallowby2021/08/31.<module>.<procedure> at line N". Users quote
// them when they write in, so they never change; every guarded procedure
// takes its pair from here.
namespace tallowby::report_locations {

// Modules.
inline constexpr char kEntryWindow[] = "Form1";
inline constexpr char kPreviewWindow[] = "Form2";
inline constexpr char kSheetPicture[] = "Excel1";

// The entry window's procedures.
inline constexpr char kEntryLoad[] = "Form_Load";
inline constexpr char kEntryClosing[] = "Form_QueryUnload";
inline constexpr char kHelpClicked[] = "PushButton1_Click";
inline constexpr char kEditRateClicked[] = "PushButton2_Click";
inline constexpr char kAddHoursClicked[] = "PushButton3_Click";
inline constexpr char kDeleteHoursClicked[] = "PushButton4_Click";
inline constexpr char kStartClicked[] = "PushButton6_Click";
inline constexpr char kSampleClicked[] = "PushButton7_Click";

// The preview window's procedures.
inline constexpr char kPreviewLoad[] = "Form_Load";
inline constexpr char kPreviewActivate[] = "Form_Activate";
inline constexpr char kRedrawImage[] = "RedrawImage";
inline constexpr char kZoomInClicked[] = "PushButton1_Click";
inline constexpr char kZoomOutClicked[] = "PushButton2_Click";
inline constexpr char kSaveClicked[] = "PushButton6_Click";
inline constexpr char kBackClicked[] = "PushButton8_Click";
inline constexpr char kPreviewClosing[] = "Form_QueryUnload";
inline constexpr char kPicturePressed[] = "picture1_MouseDown";
inline constexpr char kPictureMoved[] = "picture1_MouseMove";
inline constexpr char kPictureReleased[] = "Picture1_MouseUp";
inline constexpr char kPrintClicked[] = "mnuPrint_Click";
inline constexpr char kExportPdfClicked[] = "mnuExportPdf_Click";

// Drawing the result sheet into the preview's picture file.
inline constexpr char kSavePicture[] = "saveCellsActivesheet";

}  // namespace tallowby::report_locations
