#include "frame/frame_commands.h"

#include <algorithm>
#include <iterator>

namespace {

const CommandText kCommands[] = {
    {kCmdStartExam, "开始练习(&E)", "开始练习选定的试卷项", ":/frame/icons/start_exam.png"},
    {kCmdPrint, "打印试卷(&P)", "打印试卷", ":/frame/icons/print.png"},
    {kCmdNewPaper, "生成试卷(&N)", "创建新试卷", ":/frame/icons/new_paper.png"},
    {kCmdDelete, "删除试卷(&D)", "删除", ":/frame/icons/delete.png"},
    {kCmdImportQuestions, "导入试题(&I)…",
     "从 Excel、WPS、Word 或文本文件导入试题，成为一份经典试卷",
     ":/frame/icons/import_questions.png"},
    {kCmdExportQuestions, "导出试题(&X)…",
     "把选定的试卷、部分、试题或知识点的试题导出为 Excel、OpenDocument、CSV、GIFT 或 Moodle "
     "XML 文件",
     ":/frame/icons/export_questions.png"},
    {kCmdSubmit, "提交试卷(&S)", "交卷并评分", ":/frame/icons/submit.png"},
    {kCmdTargeted, "针对性练习(&E)", "针对考点专项组卷训练", ":/frame/icons/targeted.png"},
    {kCmdReview, "历史回顾(&R)", "回顾选定的考试纪录", ":/frame/icons/review.png"},
    {kCmdMistakes, "错题本(&W)", "显示选定知识点的错题", ":/frame/icons/mistakes.png"},
    {kCmdRedoMistakes, "重做错题(&M)", "用错题本中的试题组成练习卷",
     ":/frame/icons/redo_mistakes.png"},
    {kCmdReturn, "返    回(&B)", "返回主菜单", ":/frame/icons/return.png"},
    {kCmdBack, "后  退(&B)", "后退到上一页", ":/frame/icons/back.png"},
    {kCmdForward, "前  进(&O)", "前进到下一页", ":/frame/icons/forward.png"},
    {kCmdRelatedInfo, "相关信息(&K)", "是否显示答案与知识点信息", ":/frame/icons/related_info.png"},
    {kCmdHelp, "帮　助(&H)", "打开使用帮助", ":/frame/icons/help.png"},
    {kCmdAbout, "关　于(&A)", "显示程序信息、版本号和版权", ":/frame/icons/about.png"},
};

const PopupMenu kShowMenu = {"显　示(&S)", {{kCmdBack}, {kCmdForward}, {}, {kCmdRelatedInfo}}};
const PopupMenu kShowMenuWithoutInfo = {"显　示(&S)", {{kCmdBack}, {kCmdForward}}};
const PopupMenu kHelpMenu = {"帮　助(&H)", {{kCmdHelp}, {}, {kCmdAbout}}};

const FrameLayout kFrames[] = {
    {FrameResource::ClassicPapers,
     {{"试　卷(&P)",
       {{kCmdStartExam},
        {},
        {kCmdImportQuestions},
        {kCmdExportQuestions},
        {},
        {kCmdPrint},
        {},
        {kCmdReturn}}},
      kShowMenu,
      kHelpMenu},
     {kCmdStartExam, 0, kCmdPrint, 0, kCmdImportQuestions, kCmdExportQuestions, 0, kCmdBack,
      kCmdForward, 0, kCmdRelatedInfo, 0, kCmdReturn, 0, kCmdHelp, 0, kCmdAbout}},
    {FrameResource::PracticePapers,
     {{"试　卷(&P)",
       {{kCmdStartExam},
        {},
        {kCmdNewPaper},
        {kCmdDelete},
        {},
        {kCmdExportQuestions},
        {},
        {kCmdPrint},
        {},
        {kCmdReturn}}},
      kShowMenu,
      kHelpMenu},
     {kCmdStartExam, 0, kCmdPrint, 0, kCmdNewPaper, kCmdDelete, kCmdExportQuestions, 0, kCmdBack,
      kCmdForward, 0, kCmdRelatedInfo, 0, kCmdReturn, 0, kCmdHelp, 0, kCmdAbout}},
    {FrameResource::Exam,
     {{"试　卷(&P)", {{kCmdSubmit}, {}, {kCmdReturn}}}, kShowMenu, kHelpMenu},
     {kCmdSubmit, 0, kCmdBack, kCmdForward, 0, kCmdRelatedInfo, 0, kCmdReturn, 0, kCmdHelp, 0,
      kCmdAbout}},
    {FrameResource::Knowledge,
     {{"知  识(&P)",
       {{kCmdTargeted},
        {},
        {kCmdMistakes},
        {kCmdRedoMistakes},
        {},
        {kCmdExportQuestions},
        {},
        {kCmdReturn}}},
      kShowMenuWithoutInfo,
      kHelpMenu},
     {kCmdTargeted, kCmdMistakes, kCmdRedoMistakes, 0, kCmdExportQuestions, 0, kCmdBack,
      kCmdForward, 0, kCmdReturn, 0, kCmdHelp, 0, kCmdAbout}},
    {FrameResource::ClassicAnalysis,
     {{"分  析(&P)", {{kCmdReturn}}}, kShowMenuWithoutInfo, kHelpMenu},
     {kCmdBack, kCmdForward, 0, kCmdReturn, 0, kCmdHelp, 0, kCmdAbout}},
    {FrameResource::History,
     {{"分  析(&P)",
       {{kCmdReview}, {}, {kCmdDelete, "删除纪录(&D)"}, {}, {kCmdRedoMistakes}, {}, {kCmdReturn}}},
      kShowMenuWithoutInfo,
      kHelpMenu},
     {kCmdReview, 0, kCmdDelete, 0, kCmdRedoMistakes, 0, kCmdBack, kCmdForward, 0, kCmdReturn, 0,
      kCmdHelp, 0, kCmdAbout}},
};

}  // namespace

const CommandText* FindCommandText(int id) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandText& command) { return command.id == id; });
    return found == std::end(kCommands) ? nullptr : &*found;
}

const FrameLayout* FindFrameLayout(FrameResource resource) {
    const auto found =
        std::find_if(std::begin(kFrames), std::end(kFrames),
                     [resource](const FrameLayout& frame) { return frame.resource == resource; });
    return found == std::end(kFrames) ? nullptr : &*found;
}
