// The two identifier rules of the program.
#pragma once

namespace quillory {

class DataStore;

// max(largest Paper.ID, 550000) + 1: created papers never take an ID below
// 550001. 0 when the table cannot be read.
int NextPaperID(DataStore& store);

// (largest History.ID, or 700000 for an empty table) + 1. 0 when the table
// cannot be read.
int NextHistoryID(DataStore& store);

}  // namespace quillory
