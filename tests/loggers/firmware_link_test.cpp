// The reason shown for each result code of opening the firmware address.

#include "FirmwareLink.h"

#include <gtest/gtest.h>

namespace {

TEST(FirmwareLinkReasons, EveryCodeOfTheTableAndUnknownOnes)
{
    const std::pair<int, const char*> cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {-7, "Unknown Error (-7) occurred."},
    };
    for (auto [code, reason] : cases) EXPECT_EQ(ReasonForCode(code), reason) << code;
    EXPECT_EQ(OpenResultCode({false, "no browser"}), 31);
    EXPECT_TRUE(OpenCodeSucceeded(OpenResultCode({true, {}})));
}

}  // namespace
