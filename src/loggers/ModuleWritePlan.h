#pragma once
// A kind's module parameters as one table, and a form's write sequence as
// data: the parameters in the order the form's OK sends them, each with its
// argument as it goes on the wire. The forms send the whole plan; a restore
// sends only the parameters whose argument differs from what the logger
// holds.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct ModuleWrite {
    int parameter;
    std::string argument;
    bool operator==(const ModuleWrite&) const = default;
};
using ModuleWritePlan = std::vector<ModuleWrite>;

// One module parameter of a kind: its number, how the logger's reply fills
// the settings record, and how the record's field goes back on the wire.
template <class Record>
struct ModuleParameter {
    int number;
    // False when the reply is no value the logger can hold: a failed read.
    bool (*fromWire)(Record& record, const std::string& reply);
    // The argument the form's OK sends; null for a parameter only read.
    std::string (*toWire)(const Record& record);
};
// In the order detection reads them.
template <class Record>
using ParameterTable = std::span<const ModuleParameter<Record>>;

// The writes of the given parameters, in that order, from record.
template <class Record>
ModuleWritePlan WritesOf(ParameterTable<Record> table, std::initializer_list<int> order,
                         const Record& record)
{
    ModuleWritePlan plan;
    for (int number : order) {
        const ModuleParameter<Record>* found = nullptr;
        for (const ModuleParameter<Record>& p : table)
            if (p.number == number && p.toWire) found = &p;
        if (!found) throw std::logic_error("parameter " + std::to_string(number) + " is not written");
        plan.push_back({number, found->toWire(record)});
    }
    return plan;
}

// Wakes the console once, then sets each parameter in order, stopping at the
// first the logger does not confirm (nothing is undone). The number of
// writes confirmed; plan.size() when all were.
std::size_t SendModuleWrites(const ModuleWritePlan& plan);

// The writes of plan whose argument differs from the same parameter's in
// held, in plan's order.
ModuleWritePlan ChangedWrites(const ModuleWritePlan& plan, const ModuleWritePlan& held);

// A parameter the logger holds as text and the record keeps as it came.
template <class Record, auto Field>
constexpr ModuleParameter<Record> TextParameter(int number)
{
    return {number,
            [](Record& record, const std::string& reply) {
                record.*Field = reply;
                return true;
            },
            [](const Record& record) -> std::string { return record.*Field; }};
}
