#include "aom/AomConditionRows.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomConversions.h"
#include "base/NumericText.h"

#include <cstdlib>

namespace {

constexpr int kWindDirection = 21;
// The module keeps a subtraction's threshold in 16 bits.
constexpr long kSixteenBits = 65536;
constexpr long kLessThanBit = 0x8000;

std::vector<std::string> SplitSkippingEmpty(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        const auto end = text.find(separator, start);
        const std::string part =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty()) parts.push_back(part);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

// atoi's reading without its undefined behaviour on overflow.
long ReadLong(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace

std::vector<ConditionFields> ParseConditionReply(const std::string& reply)
{
    std::vector<ConditionFields> records;
    for (const std::string& record : SplitSkippingEmpty(reply, ';')) {
        ConditionFields fields = SplitSkippingEmpty(record, ' ');
        if (!fields.empty()) records.push_back(std::move(fields));
    }
    return records;
}

bool IsConditionReplyWellFormed(const std::string& reply)
{
    for (const ConditionFields& record : ParseConditionReply(reply))
        for (const std::string& field : record) {
            const std::size_t sign = field[0] == '-' ? 1 : 0;
            if (field.size() == sign || field.find_first_not_of("0123456789", sign) != std::string::npos)
                return false;
            const long v = ReadLong(field);
            if (v < -kSixteenBits / 2 || v >= kSixteenBits) return false;
        }
    return true;
}

std::string RecordField(const ConditionFields& record, std::size_t index)
{
    return index < record.size() ? record[index] : std::string();
}

std::string TimeForDisplay(const std::string& t)
{
    switch (t.size()) {
    // A lone digit is minutes past midnight ("0" is midnight itself).
    case 1: return "00:0" + t;
    case 2: return "0:" + t;
    case 3: return t.substr(0, 1) + ":" + t.substr(1);
    case 4: return t.substr(0, 2) + ":" + t.substr(2);
    default: return t;
    }
}

std::string TimeForModule(const std::string& typed)
{
    const auto colon = typed.find(':');
    const std::string hours = typed.substr(0, colon);
    const std::string minutes = colon == std::string::npos ? std::string() : typed.substr(colon + 1);
    return FormatText("%02d%02d", ReadInt(hours), ReadInt(minutes));
}

std::string MinusValueForModule(const std::string& moduleText, int checkType)
{
    if (checkType == CheckGreaterOrEqual) {
        std::string text;
        for (char c : moduleText)
            if (c != '-') text += c;
        return text;
    }
    if (checkType == CheckLessOrEqual) {
        const long v = ReadLong(moduleText) % kSixteenBits;
        return FormatText("%ld", ((-v) % kSixteenBits + kSixteenBits) % kSixteenBits);
    }
    return moduleText;
}

MinusValue MinusValueFromModule(const std::string& stored)
{
    const long v = ReadLong(stored);
    // Only 16 bits come from the module; anything else is shown as it came
    // and the threshold's check refuses it before it could be sent back.
    if (v < 0 || v >= kSixteenBits) return {CheckGreaterOrEqual, stored};
    if (v & kLessThanBit) return {CheckLessOrEqual, FormatText("%ld", kSixteenBits - v)};
    return {CheckGreaterOrEqual, stored};
}

void OrderRange(int moduleCode, std::string& value1, std::string& value2)
{
    if (moduleCode == kWindDirection) return;
    if (ReadDouble(value2) < ReadDouble(value1)) std::swap(value1, value2);
}

int OutputLogicFromOperator(const std::string& text)
{
    if (text == kGroupingOr) return 0;
    if (text == kGroupingXor) return 2;
    return 1;
}

std::string OperatorText(int number)
{
    switch (number) {
    case 0: return kGroupingOr;
    case 1: return kGroupingAnd;
    case 2: return kGroupingXor;
    default: return kGroupingDone;
    }
}
