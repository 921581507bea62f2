#include "widgets/error_text.h"

namespace {

QString WithReason(const char* text, const quillory::Error& error) {
    return QString::fromUtf8(text) + QString::fromStdString(error.detail);
}

}  // namespace

QString ErrorText(const quillory::Error& error) {
    using quillory::ErrorCode;
    switch (error.code) {
        case ErrorCode::FileMissing:
        case ErrorCode::WrongPassword:
        case ErrorCode::NotDataFile:
        case ErrorCode::DamagedFile:
            return QStringLiteral("无法打开数据库!");
        case ErrorCode::NewerFile:
            return QStringLiteral("数据文件的版本比本程序新，请升级程序。");
        case ErrorCode::UpgradeFailed:
            return QStringLiteral("无法升级数据文件，数据文件未作改动。");
        case ErrorCode::FileAccess:
            return WithReason("无法读写文件：", error);
        case ErrorCode::Database:
            return WithReason("无法读取数据：", error);
        case ErrorCode::NotSaved:
            return WithReason("无法保存：", error);
        case ErrorCode::BadInput:
            return WithReason("内容有误：", error);
        case ErrorCode::NotFound:
            return QStringLiteral("没有找到所要的内容。");
        case ErrorCode::NothingToDo:
            return QStringLiteral("没有可以处理的内容。");
    }
    return WithReason("操作失败：", error);
}

QString PaperErrorText(const quillory::Error& error) {
    using quillory::ErrorCode;
    switch (error.code) {
        case ErrorCode::Database:
            return WithReason("无法生成试卷：", error);
        case ErrorCode::NotSaved:
            return WithReason("无法保存试卷：", error);
        case ErrorCode::NothingToDo:
            return QStringLiteral("错题本中没有试题。");
        default:
            return ErrorText(error);
    }
}
