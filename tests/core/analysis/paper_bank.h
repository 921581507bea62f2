// A small bank for the paper pages and the chart, shared by their tests.
#pragma once

#include <gtest/gtest.h>

#include "core/store/data_store.h"

namespace quillory::testing {

// Paper "第2套 <A&B>" with a nested section, an empty one, an item right
// under the paper, a question used twice and one without a record; points
// with a child, a missing type and a missing point; records over several
// weeks across a year's end, one of no full marks and one without a date.
inline void FillPaperBank(DataStore& store) {
    for (const char* sql : {
             "insert into Paper(ID, SuperiorID, Title, IsReference) "
             "values(100001, 0, '第2套 <A&B>', true)",
             "insert into Paper(ID, SuperiorID, Title) values(100002, 100001, '一、选择')",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
             "values(100003, 100002, 200001, '第1题', 2.5)",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
             "values(100004, 100002, 200002, '第2题', 3)",
             "insert into Paper(ID, SuperiorID, Title) values(100010, 100002, '（一）')",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
             "values(100011, 100010, 200003, '第3题', 1)",
             "insert into Paper(ID, SuperiorID, Title) values(100005, 100001, '二、填空')",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
             "values(100006, 100005, 200004, '第4题', 5)",
             "insert into Paper(ID, SuperiorID, Title) values(100007, 100001, '三、空')",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Score) "
             "values(100008, 100001, 200001, '第5题', 4.25)",
             "insert into QuestionType(ID, Title) values(1, '选择题')",
             "insert into QuestionType(ID, Title) values(3, '判断<题>')",
             "insert into Knowledge(ID, SuperiorID, Title) values(300001, 0, '地形')",
             "insert into Knowledge(ID, SuperiorID, Title) values(300011, 300001, '山地')",
             "insert into Knowledge(ID, SuperiorID, Title) values(300002, 0, '气候 & 水')",
             "insert into Knowledge(ID, SuperiorID, Title) values(300003, 0, '人口')",
             "insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200001, 1, "
             "'Question/1.html', 'Question/1a.html', '300001,300002')",
             "insert into Question(ID, TypeID, AnswerUrl, Knowledge) values(200002, 2, "
             "'Question/2a.html', '300009,12,300011')",
             "insert into Question(ID, TypeID, Url, Knowledge) values(200003, 3, "
             "'Question/3.html', '')",
             "insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge) values(200004, 1, "
             "'Question/4.html', 'Question/4a.html', '300002')",
             // The record shown: items 100003, 100004, 100011 and 100008.
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
             "values(700001, '2026-01-07', '15:04:05', 100001, 100003, 200001, 1, "
             "'300001,300002', 'Question/1.html', 'Question/1a.html', 2, 1.5)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
             "values(700002, '2026-01-07', '15:04:05', 100001, 100004, 200002, 2, "
             "'300009,12,300011', '', 'Question/2a.html', 3, 0)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
             "values(700003, '2026-01-07', '15:04:05', 100001, 100011, 200003, 3, '', "
             "'Question/3.html', '', 1, 1)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) "
             "values(700004, '2026-01-07', '15:04:05', 100001, 100008, 200001, 1, '300002', "
             "'Question/1.html', 'Question/1a.html', 4, 2.5)",
             // Earlier and later answers for the chart.
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, KnowledgeID, TotalScore, UserScore) "
             "values(700005, '2025-12-24', '08:00:00', 100001, 100003, 200001, "
             "'300011,300001', 5, 4)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, KnowledgeID, TotalScore, UserScore) "
             "values(700006, '2025-12-30', '08:00:00', 100001, 100004, 200002, '300002', "
             "0, 0)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, KnowledgeID, TotalScore, UserScore) "
             "values(700007, '2026-02-03', '08:00:00', 100001, 100003, 200001, '300002', "
             "2, 2)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, KnowledgeID, TotalScore, UserScore) "
             "values(700009, '2026-01-13', '08:00:00', 100001, 100004, 200002, "
             "'300002,300011', 4, 3)",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, "
             "QuestionID, KnowledgeID, TotalScore, UserScore) "
             "values(700010, '2026-04-01', '08:00:00', 100001, 100003, 200001, '300003', 2, 1)",
             "insert into History(ID, RecordTime, PaperID, PaperItemID, QuestionID, "
             "KnowledgeID, TotalScore, UserScore) "
             "values(700008, '08:00:00', 100001, 100003, 200001, '300001', 9, 9)",
         }) {
        ASSERT_TRUE(store.Execute(sql)) << store.LastError();
    }
}

}  // namespace quillory::testing
