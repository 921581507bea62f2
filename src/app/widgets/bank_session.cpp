#include "widgets/bank_session.h"

#include <QFile>

CBankSession::CBankSession(quillory::OpenedDataFile opened,
                           std::unique_ptr<quillory::Settings> settings)
    : store_(std::move(opened.store)),
      dataFolder_(QFile::decodeName(QByteArray::fromStdString(opened.dataFolder))),
      applicationTitle_(QString::fromUtf8(opened.applicationTitle)),
      settings_(std::move(settings)) {}

CBankSession::~CBankSession() {
    store_->Close();
}
