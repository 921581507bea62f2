#include "core/generation/paper_items.h"

#include <algorithm>

#include "core/common/text.h"
#include "core/generation/question_selection.h"
#include "core/host/host.h"
#include "core/practice/answer_form.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

// The answer groups of a question that ask for something; -1 when the
// question cannot be read, 0 when there is no such question.
int AnswerCount(DataStore& store, int questionId) {
    auto row = store.Query(Format("select * from Question where ID=%d", questionId));
    if (!row) {
        return -1;
    }
    return row->AtEnd() ? 0 : CountJudgedGroups(ParseAnswerForm(row->Text("Answer"), ""));
}

class ItemBuilder {
public:
    ItemBuilder(const std::vector<TemplateItem>& items, std::vector<PaperItemRow>& rows,
                int firstId, const PaperItemOptions& options, DataStore& store,
                UnitSelector& selection, LegacyRandom& random, Host& host)
        : items_(items),
          rows_(rows),
          options_(options),
          store_(store),
          selection_(selection),
          random_(random),
          host_(host),
          base_(rows.size()),
          nextId_(firstId) {}

    // Handles item i, which may advance over the slots its questions fill.
    bool Build(size_t& i) {
        for (;;) {
            const int parent = ParentRow(items_[i].superiorId);
            if (!items_[i].isQuestion) {
                Add(parent, items_[i].title, 0, i);
                return true;
            }
            switch (FillSlot(i, parent)) {
                case Slot::Filled:
                    return true;
                case Slot::Again:
                    continue;
                case Slot::Failed:
                    return false;
            }
        }
    }

private:
    enum class Slot { Filled, Again, Failed };

    int ParentRow(int superiorId) const {
        for (size_t k = emitted_.size(); k-- > 0;) {
            if (emitted_[k] == superiorId) {
                return rows_[base_ + k].id;
            }
        }
        return 0;
    }

    void Add(int parent, std::string title, int questionId, size_t item) {
        rows_.push_back({nextId_++, parent, std::move(title), questionId, {item}});
        emitted_.push_back(items_[item].id);
    }

    Slot FillSlot(size_t& i, int parent) {
        const TemplateItem& item = items_[i];
        std::string key;
        if (selection_.SelectQuestionUnit(item.questionIds, item.typeIds, item.knowledgeIds, key,
                                          usedKeys_, options_.adjust, options_.period,
                                          options_.useGroups, random_) == 0) {
            host_.Message(Format("组卷错误，模版项%d。", item.id), MessageIcon::Exclamation);
            if (selection_.SelectQuestionUnit(item.questionIds, item.typeIds, "", key, usedKeys_,
                                              options_.adjust, 0, true, random_) == 0) {
                Add(parent, Format("第%03d题", counter_++), -1, i);
                return Slot::Filled;
            }
        }
        if (key.empty()) {
            return Slot::Filled;
        }
        usedKeys_ += key + ",";
        size_t added = 0;
        // A key naming several questions already in the paper would be
        // rejected for ever, one duplicate after another: once one of its
        // duplicates is let through, the others are too.
        bool duplicatesAccepted = false;
        for (const std::string& piece : SplitString(key, ",")) {
            if (piece.size() < 6) {
                continue;
            }
            const int questionId = AtoI(piece);
            const int answers = AnswerCount(store_, questionId);
            if (answers < 0) {
                return Slot::Failed;
            }
            if (answers < 1) {
                continue;
            }
            if (IsInPaper(questionId) && !duplicatesAccepted) {
                if (duplicates_ < 5) {
                    rows_.resize(rows_.size() - added);
                    emitted_.resize(emitted_.size() - added);
                    nextId_ -= static_cast<int>(added);
                    counter_ -= static_cast<int>(added);
                    ++duplicates_;
                    return Slot::Again;
                }
                duplicates_ = 0;
                duplicatesAccepted = true;
            }
            const std::string title =
                answers > 1 ? Format("第%03d-%03d题", counter_, counter_ + answers - 1)
                            : Format("第%03d题", counter_);
            Add(parent, title, questionId, i);
            ++added;
            // Every answer but the unit's very first moves on to the next
            // slot of the section; the row stands for the slots it reaches.
            std::vector<size_t> filled;
            for (int repeat = 0; repeat < answers; ++repeat) {
                if (added == 1 && repeat == 0) {
                    filled.push_back(i);
                    continue;
                }
                if (i + 1 < items_.size() && items_[i + 1].isQuestion &&
                    items_[i + 1].superiorId == items_[i].superiorId) {
                    filled.push_back(++i);
                }
            }
            if (!filled.empty()) {
                rows_.back().items = std::move(filled);
            }
            counter_ += answers;
        }
        return Slot::Filled;
    }

    bool IsInPaper(int questionId) const {
        return questionId != 0 &&
               std::any_of(rows_.begin(), rows_.end(),
                           [&](const PaperItemRow& row) { return row.questionId == questionId; });
    }

    const std::vector<TemplateItem>& items_;
    std::vector<PaperItemRow>& rows_;
    const PaperItemOptions& options_;
    DataStore& store_;
    UnitSelector& selection_;
    LegacyRandom& random_;
    Host& host_;
    size_t base_;               // rows that were there before
    std::vector<int> emitted_;  // the template item of each row added
    std::string usedKeys_;
    int nextId_;
    int counter_ = 1;
    int duplicates_ = 0;
};

}  // namespace

bool BuildPaperItems(const std::vector<TemplateItem>& items, std::vector<PaperItemRow>& rows,
                     int firstId, const PaperItemOptions& options, DataStore& store,
                     UnitSelector& selection, LegacyRandom& random, Host& host,
                     Progress& progress) {
    random.Seed(static_cast<std::uint32_t>(static_cast<std::uint64_t>(options.seedTime) << 12));
    progress.SetRange(0, static_cast<int>(items.size()) - 1, 1);
    progress.SetText("开始...");
    ItemBuilder builder(items, rows, firstId, options, store, selection, random, host);
    for (size_t i = 0; i < items.size(); ++i) {
        if (!builder.Build(i)) {
            return false;
        }
        if (!rows.empty()) {
            progress.SetText(rows.back().title);
        }
        progress.StepIt();
        progress.PeekAndPump(false);
    }
    return true;
}

}  // namespace quillory
