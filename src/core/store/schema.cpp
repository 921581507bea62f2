#include "core/store/schema.h"

namespace quillory {

const char* const kSchemaSql = R"sql(
create table Paper (
    ID integer primary key,
    SuperiorID integer not null default 0,
    QuestionID integer not null default 0,
    Score real not null default 0,
    TimeLimit integer not null default 0,
    Title text not null default '' collate GB2312,
    Url text not null default '',
    IsQuestion boolean not null default 0,
    IsReference boolean not null default 0,
    IsSystem boolean not null default 0
);
create table Question (
    ID integer primary key,
    TypeID integer not null default 0,
    Level integer not null default 0,
    Url text not null default '',
    Answer text not null default '',
    AnswerUrl text not null default '',
    Knowledge text not null default '',
    KeyWord text not null default '',
    GroupID text not null default ''
);
create table QuestionType (
    ID integer primary key,
    Title text not null default '' collate GB2312
);
create table Knowledge (
    ID integer primary key,
    SuperiorID integer not null default 0,
    Title text not null default '' collate GB2312,
    Url text not null default '',
    KeyWord text not null default '',
    Weight integer not null default 0
);
create table History (
    ID integer primary key,
    RecordDate text not null default '',
    RecordTime text not null default '',
    PaperID integer not null default 0,
    PaperTitle text not null default '',
    PaperItemID integer not null default 0,
    PaperItemTitle text not null default '',
    QuestionID integer not null default 0,
    QuestionTypeID integer not null default 0,
    KnowledgeID text not null default '',
    Url text not null default '',
    AnswerUrl text not null default '',
    TotalScore real not null default 0,
    UserScore real not null default 0,
    UserAnswer text not null default '',
    UserMemo text not null default ''
);
create table PaperTemplate (
    ID integer primary key,
    SuperiorID integer not null default 0,
    Title text not null default '' collate GB2312,
    IsQuestion boolean not null default 0,
    TimeLimit integer not null default 0,
    ScoreMin real not null default 0,
    ScoreMax real not null default 0,
    QuestionID text not null default '',
    QuestionTypeID text not null default '',
    KnowledgeID text not null default '',
    Url text not null default ''
);
create table ConfigProduct (
    ID integer primary key,
    LastVerFile text not null default ''
);
create index History_PaperRecord on History(PaperID, RecordDate, RecordTime);
create index Paper_Superior on Paper(SuperiorID);
insert into ConfigProduct(ID, LastVerFile) values(1, '');
)sql";

const char* const kImportedSourceStatements[2] = {
    R"sql(create table if not exists ImportedSource (
    QuestionID integer primary key,
    PaperID integer not null default 0,
    PaperTitle text not null default '',
    SourceKey text not null default ''
))sql",
    "create index if not exists ImportedSource_Key on ImportedSource(PaperTitle, SourceKey)"};

}  // namespace quillory
