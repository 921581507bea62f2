// The tables the program reads whole, one plain row per record with the
// columns of the data file. Each reader returns the rows in ascending ID
// (the integer key), or nothing on a database error; a NULL reads as 0 or "".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/date_time.h"

namespace quillory {

class DataStore;

struct PaperRow {
    int ID = 0;
    int SuperiorID = 0;
    int QuestionID = 0;
    float Score = 0.0f;
    int TimeLimit = 0;
    std::string Title;
    std::string Url;
    bool IsQuestion = false;
    bool IsReference = false;
    bool IsSystem = false;

    bool operator==(const PaperRow&) const = default;
};

struct QuestionRow {
    int ID = 0;
    int TypeID = 0;
    int Level = 0;
    std::string Url;
    std::string Answer;
    std::string AnswerUrl;
    std::string Knowledge;
    std::string KeyWord;
    std::string GroupID;

    bool operator==(const QuestionRow&) const = default;
};

struct QuestionTypeRow {
    int ID = 0;
    std::string Title;

    bool operator==(const QuestionTypeRow&) const = default;
};

struct KnowledgeRow {
    int ID = 0;
    int SuperiorID = 0;
    std::string Title;
    std::string Url;
    std::string KeyWord;
    int Weight = 0;

    bool operator==(const KnowledgeRow&) const = default;
};

struct HistoryRow {
    int ID = 0;
    DateTime RecordDate;
    DateTime RecordTime;
    int PaperID = 0;
    std::string PaperTitle;
    int PaperItemID = 0;
    std::string PaperItemTitle;
    int QuestionID = 0;
    int QuestionTypeID = 0;
    std::string KnowledgeID;
    std::string Url;
    std::string AnswerUrl;
    float TotalScore = 0.0f;
    float UserScore = 0.0f;
    std::string UserAnswer;
    std::string UserMemo;

    bool operator==(const HistoryRow&) const = default;
};

struct PaperTemplateRow {
    int ID = 0;
    int SuperiorID = 0;
    std::string Title;
    bool IsQuestion = false;
    int TimeLimit = 0;
    float ScoreMin = 0.0f;
    float ScoreMax = 0.0f;
    std::string QuestionID;
    std::string QuestionTypeID;
    std::string KnowledgeID;
    std::string Url;

    bool operator==(const PaperTemplateRow&) const = default;
};

std::optional<std::vector<PaperRow>> ReadPaperRows(DataStore& store);
std::optional<std::vector<QuestionRow>> ReadQuestionRows(DataStore& store);
std::optional<std::vector<QuestionTypeRow>> ReadQuestionTypeRows(DataStore& store);
std::optional<std::vector<KnowledgeRow>> ReadKnowledgeRows(DataStore& store);
std::optional<std::vector<HistoryRow>> ReadHistoryRows(DataStore& store);
std::optional<std::vector<PaperTemplateRow>> ReadPaperTemplateRows(DataStore& store);

}  // namespace quillory
