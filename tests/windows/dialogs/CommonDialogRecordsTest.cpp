// The records handed to the open-file and colour dialogs, field by field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/CommonDialogs.h"

namespace tesmar {
namespace {

const HWND Owner = reinterpret_cast<HWND>(0x1234);
const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(0x400000);

TEST(CommonDialogRecords, OpenFileRecordAsksForOneFlashMovieFromDriveC)
{
    MovieFileRecord file;
    std::memset(&file, 0x55, sizeof file);  // every field must be set, not left over
    FillMovieFileRecord(file, Owner, Instance);
    const OPENFILENAMEA& record = file.record;
    EXPECT_EQ(record.lStructSize, offsetof(OPENFILENAMEA, pvReserved));
    EXPECT_EQ(record.hwndOwner, Owner);
    EXPECT_EQ(record.hInstance, Instance);
    EXPECT_EQ(std::string(record.lpstrFilter, 27), std::string("Flash Movie (*.swf)\0*.SWF\0\0", 27));
    EXPECT_EQ(record.lpstrCustomFilter, nullptr);
    EXPECT_EQ(record.nMaxCustFilter, 0u);
    EXPECT_EQ(record.nFilterIndex, 1u);
    EXPECT_EQ(record.lpstrFile, file.fileName);
    EXPECT_EQ(record.nMaxFile, 256u);
    EXPECT_EQ(record.lpstrFileTitle, file.fileTitle);
    EXPECT_EQ(record.nMaxFileTitle, 256u);
    EXPECT_STREQ(record.lpstrInitialDir, "C:\\");
    EXPECT_STREQ(record.lpstrTitle, "Choose Flash Movie");
    EXPECT_EQ(record.Flags, 0u);
    EXPECT_EQ(record.nFileOffset, 0);
    EXPECT_EQ(record.nFileExtension, 0);
    EXPECT_EQ(record.lpstrDefExt, nullptr);
    EXPECT_EQ(record.lCustData, 0);
    EXPECT_EQ(record.lpfnHook, nullptr);
    EXPECT_EQ(record.lpTemplateName, nullptr);
    EXPECT_EQ(sizeof file.fileName, 257u);
    EXPECT_EQ(sizeof file.fileTitle, 257u);
    EXPECT_EQ(std::string(file.fileName, 257), std::string(257, '\0'));
    EXPECT_EQ(std::string(file.fileTitle, 257), std::string(257, '\0'));
}

TEST(CommonDialogRecords, ColourRecordStartsOnTheSwatchWithBlackCustomColours)
{
    ColourRecord colour;
    std::memset(&colour, 0x55, sizeof colour);
    FillColourRecord(colour, Owner, Instance, RGB(1, 2, 3));
    const CHOOSECOLORA& record = colour.record;
    EXPECT_EQ(record.lStructSize, sizeof(CHOOSECOLORA));
    EXPECT_EQ(record.hwndOwner, Owner);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(record.hInstance), Instance);
    EXPECT_EQ(record.rgbResult, RGB(1, 2, 3));
    EXPECT_EQ(record.lpCustColors, colour.customColours);
    for (COLORREF custom : colour.customColours)
        EXPECT_EQ(custom, 0u);
    EXPECT_EQ(record.Flags, static_cast<DWORD>(CC_RGBINIT));
    EXPECT_EQ(record.lCustData, 0);
    EXPECT_EQ(record.lpfnHook, nullptr);
    EXPECT_EQ(record.lpTemplateName, nullptr);
}

} // namespace
} // namespace tesmar
