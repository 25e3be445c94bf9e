#pragma once

#include <cstdint>

namespace tallowby::engine::biff {

// BIFF8 record types the engine reads or writes.
enum RecordType : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kHeader = 0x0014,
    kFooter = 0x0015,
    kExternSheet = 0x0017,
    kName = 0x0018,
    kVerticalBreaks = 0x001A,
    kHorizontalBreaks = 0x001B,
    kDateMode = 0x0022,
    kLeftMargin = 0x0026,
    kRightMargin = 0x0027,
    kTopMargin = 0x0028,
    kBottomMargin = 0x0029,
    kFilePass = 0x002F,
    kFont = 0x0031,
    kContinue = 0x003C,
    kWindow1 = 0x003D,
    kCodePage = 0x0042,
    kDefColWidth = 0x0055,
    kTemplate = 0x0060,
    kColInfo = 0x007D,
    kWsBool = 0x0081,
    kHCenter = 0x0083,
    kVCenter = 0x0084,
    kBoundSheet = 0x0085,
    kPalette = 0x0092,
    kStandardWidth = 0x0099,
    kSetup = 0x00A1,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kDbCell = 0x00D7,
    kXf = 0x00E0,
    kMergedCells = 0x00E5,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kExtSst = 0x00FF,
    kSupBook = 0x01AE,
    kDimensions = 0x0200,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRow = 0x0208,
    kIndex = 0x020B,
    kArray = 0x0221,
    kDefaultRowHeight = 0x0225,
    kTable = 0x0236,
    kWindow2 = 0x023E,
    kRk = 0x027E,
    kStyle = 0x0293,
    kFormat = 0x041E,
    kSharedFormula = 0x04BC,
    kBof = 0x0809,
};

inline constexpr uint16_t kBiff8Version = 0x0600;
inline constexpr uint16_t kBofGlobals = 0x0005;
inline constexpr uint16_t kBofWorksheet = 0x0010;
inline constexpr size_t kMaxRecordData = 8224;

}  // namespace tallowby::engine::biff
