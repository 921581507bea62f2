#include "core/store/tables.h"

#include "core/store/data_store.h"

namespace quillory {

namespace {

// The integer key makes "select * from" return the rows in ascending ID.
template <typename Row, typename ReadRow>
std::optional<std::vector<Row>> ReadRows(DataStore& store, const char* sql, ReadRow read) {
    auto rows = store.Query(sql);
    if (!rows) {
        return std::nullopt;
    }
    std::vector<Row> result;
    for (; !rows->AtEnd(); rows->Next()) {
        result.push_back(read(*rows));
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return result;
}

}  // namespace

std::optional<std::vector<PaperRow>> ReadPaperRows(DataStore& store) {
    return ReadRows<PaperRow>(store, "select * from Paper", [](const RowSet& row) {
        return PaperRow{row.Int("ID"),       row.Int("SuperiorID"),  row.Int("QuestionID"),
                        row.Single("Score"), row.Int("TimeLimit"),   row.Text("Title"),
                        row.Text("Url"),     row.Bool("IsQuestion"), row.Bool("IsReference"),
                        row.Bool("IsSystem")};
    });
}

std::optional<std::vector<QuestionRow>> ReadQuestionRows(DataStore& store) {
    return ReadRows<QuestionRow>(store, "select * from Question", [](const RowSet& row) {
        return QuestionRow{row.Int("ID"),         row.Int("TypeID"),   row.Int("Level"),
                           row.Text("Url"),       row.Text("Answer"),  row.Text("AnswerUrl"),
                           row.Text("Knowledge"), row.Text("KeyWord"), row.Text("GroupID")};
    });
}

std::optional<std::vector<QuestionTypeRow>> ReadQuestionTypeRows(DataStore& store) {
    return ReadRows<QuestionTypeRow>(store, "select * from QuestionType", [](const RowSet& row) {
        return QuestionTypeRow{row.Int("ID"), row.Text("Title")};
    });
}

std::optional<std::vector<KnowledgeRow>> ReadKnowledgeRows(DataStore& store) {
    return ReadRows<KnowledgeRow>(store, "select * from Knowledge", [](const RowSet& row) {
        return KnowledgeRow{row.Int("ID"),   row.Int("SuperiorID"), row.Text("Title"),
                            row.Text("Url"), row.Text("KeyWord"),   row.Int("Weight")};
    });
}

std::optional<std::vector<HistoryRow>> ReadHistoryRows(DataStore& store) {
    return ReadRows<HistoryRow>(store, "select * from History", [](const RowSet& row) {
        return HistoryRow{row.Int("ID"),
                          row.Date("RecordDate"),
                          row.Date("RecordTime"),
                          row.Int("PaperID"),
                          row.Text("PaperTitle"),
                          row.Int("PaperItemID"),
                          row.Text("PaperItemTitle"),
                          row.Int("QuestionID"),
                          row.Int("QuestionTypeID"),
                          row.Text("KnowledgeID"),
                          row.Text("Url"),
                          row.Text("AnswerUrl"),
                          row.Single("TotalScore"),
                          row.Single("UserScore"),
                          row.Text("UserAnswer"),
                          row.Text("UserMemo")};
    });
}

std::optional<std::vector<PaperTemplateRow>> ReadPaperTemplateRows(DataStore& store) {
    return ReadRows<PaperTemplateRow>(store, "select * from PaperTemplate", [](const RowSet& row) {
        return PaperTemplateRow{
            row.Int("ID"),           row.Int("SuperiorID"),  row.Text("Title"),
            row.Bool("IsQuestion"),  row.Int("TimeLimit"),   row.Single("ScoreMin"),
            row.Single("ScoreMax"),  row.Text("QuestionID"), row.Text("QuestionTypeID"),
            row.Text("KnowledgeID"), row.Text("Url")};
    });
}

}  // namespace quillory
