// The six modules of the program, in the order the main menu makes their
// frames: the frame resource that names each one's menus and toolbar, and
// the suffix of its window title.
#pragma once

#include <array>
#include <cstddef>

enum class Module { ClassicPapers, PracticePapers, Exam, Knowledge, ClassicAnalysis, History };

enum class FrameResource : int {
    ClassicPapers = 4,
    PracticePapers = 156,
    Exam = 166,
    Knowledge = 152,
    ClassicAnalysis = 172,
    History = 173,
};

struct ModuleEntry {
    Module module;
    FrameResource resource;
    const char* titleSuffix;  // UTF-8
};

inline constexpr std::array<ModuleEntry, 6> kModules = {{
    {Module::ClassicPapers, FrameResource::ClassicPapers, " - 经典试卷"},
    {Module::PracticePapers, FrameResource::PracticePapers, " - 组卷练习"},
    {Module::Exam, FrameResource::Exam, " - 模拟考场"},
    {Module::Knowledge, FrameResource::Knowledge, " - 权威笔记"},
    {Module::ClassicAnalysis, FrameResource::ClassicAnalysis, " - 考点统计"},
    {Module::History, FrameResource::History, " - 历史纪录"},
}};
inline constexpr std::size_t kModuleCount = kModules.size();

inline constexpr std::size_t IndexOf(Module module) {
    return static_cast<size_t>(module);
}
