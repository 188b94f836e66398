// The answers as the frame window's HART panel and the demo show them: command 0's identity, response
// codes, and the ZEB telegram of commands 128 and 129 read with the device model's object descriptions.

#include <gtest/gtest.h>

#include "peers/HartAnswerDecoder.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {
namespace {

ZebDeviceModel describedModel()
{
    ZebDeviceModel model;
    model.objects = {{20480, 1, 0, {}, "primary value", ZebValueType::Float32, "mbar"},
                     {20480, 2, 0, {}, "", ZebValueType::Float32, "°C"},
                     {20490, 1, 0, {}, "counter", ZebValueType::Unsigned, ""},
                     {20482, 1, 0, {}, "write-protected parameter", ZebValueType::Bytes, ""}};
    return model;
}

TEST(HartAnswerDecoder, AnswerDataAsAnEngineerReadsIt)
{
    const ZebDeviceModel model = describedModel();
    const std::vector<std::pair<std::pair<int, const char*>, std::string>> cases = {
        // Byte 7: hardware revision in the upper five bits, physical signalling code in the lower three.
        {{0, "FE61D2050505031100123456"},
         "manufacturer 0x61, device type 0xD2, device id 0x123456, universal revision 5, transmitter revision 5, "
         "software revision 3, hardware revision 2, signalling code 1, 5 preambles, flags 0x00"},
        {{0, "FE61D20505050387FFABCDEF"},
         "manufacturer 0x61, device type 0xD2, device id 0xABCDEF, universal revision 5, transmitter revision 5, "
         "software revision 3, hardware revision 16, signalling code 7, 5 preambles, flags 0xFF"},
        {{0, "FE61D20505050311001234"}, ""}, // one byte short
        // Object, sub-number, status, length, data.
        {{128, "5000010004447A0000"}, "object 20480.1 (primary value) = 1000 mbar"},
        {{128, "500002000441C80000"}, "object 20480.2 = 25 °C"},
        {{128, "500001000443FA0000"}, "object 20480.1 (primary value) = 500 mbar"},
        {{128, "500A010002012C"}, "object 20490.1 (counter) = 300"},
        {{128, "5000010003447A00"}, "object 20480.1 (primary value), data 447A00"}, // does not fit a float
        {{128, "500201C1020002"}, "object 20482.1 (write-protected parameter), ZEB status 193, data 0002"},
        {{128, "5001018200"}, "object 20481.1, ZEB status 130, no data"},
        {{129, "8000000000"}, "object 32768.0, no data"},
        {{128, "50000100"}, ""}, // shorter than a telegram
        {{131, "0000000100"}, ""},
        {{59, "05"}, ""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(answerDataText(input.first, support::HexToByteArray(input.second), model), expected)
            << input.first << " " << input.second;
}

TEST(HartAnswerDecoder, ResponseCodesByMeaning)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Success"}, {1, "Undefined"}, {3, "Passed Parameter Too Large"}, {4, "Passed Parameter Too Small"},
        {6, "Device-Specific Command Error"}, {7, "In Write Protect Mode"}, {13, "Command-Specific Error 13"},
        {16, "Access Restricted"}, {32, "Busy"}, {64, "Command Not Implemented"},
        {50, "Command-Specific Response 50"}, {24, "Command-Specific Warning 24"}};
    for (const auto& [code, meaning] : cases)
        EXPECT_EQ(responseCodeMeaning(static_cast<std::uint8_t>(code)), meaning) << code;
}

} // namespace
} // namespace zeb2hart::frame
