// Finding what is wrong in a bank: missing pages, IDs outside the six-digit
// range, references to rows that do not exist, parent cycles, malformed
// answer forms, template slots that generation cannot fill. Used by
// "quillory-tool check" and by the tests of the demo bank.
#pragma once

#include <string>
#include <vector>

namespace quillory {

class DataStore;

// The problems of the bank in store, whose pages lie in dataFolder: one line
// each, naming the table, the row's ID and what is wrong. Empty when the bank
// is sound.
std::vector<std::string> CheckBank(DataStore& store, const std::string& dataFolder);

}  // namespace quillory
