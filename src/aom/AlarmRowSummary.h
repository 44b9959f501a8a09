#pragma once
// What a conditions page shows in each of its eight rows, as the alarm log
// download names the conditions of an event: a log record carries only the
// output and a bit per row, not the conditions themselves.

#include <map>
#include <string>

struct ConditionRowSummary {
    std::string parameter;  // the row's parameter text, empty when none
    int checkType = -1;     // CheckType of the row, -1 when none
    std::string grouping;   // the page's first grouping list text
    std::string value1;
    std::string value2;
    std::string minutes;
};

// Output number (0-3) to its rows, eight per output in row order; entries
// with equal keys keep the order in which they were added.
using ConditionRowSummaries = std::multimap<int, ConditionRowSummary>;
