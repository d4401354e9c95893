#include "app/old_log_book_offer.h"

#include "migrate/jet_file.h"
#include "migrate/old_log_book_import.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace vornak {

namespace {

const QString keptSuffix = QStringLiteral(".access");

QString question(const QString &fileName, const QString &keptName)
{
    return QStringLiteral("Файл «%1» — журнал старой версии программы. Преобразовать его в новый формат?\n\n"
                          "Старый файл будет сохранён под именем «%2».")
        .arg(fileName, keptName);
}

bool refuse(const QString &reason)
{
    showErrorMessage(QStringLiteral("Журнал старой версии не преобразован. ") + reason);
    return false;
}

}  // namespace

bool offerOldLogBookConversion(const QString &logBook)
{
    if (!QFileInfo(logBook).isFile() || !isJetFile(logBook))
        return true;
    const QString kept = logBook + keptSuffix;
    const QString fileName = QFileInfo(logBook).fileName();
    const QString keptName = QFileInfo(kept).fileName();
    if (UserDialogs::current().messageBox(question(fileName, keptName), QApplication::applicationName(),
                                          MessageButtons::YesNo, MessageIcon::Question) != ModalResult::Yes)
        return true;
    if (QFileInfo::exists(kept))
        return refuse(QStringLiteral("Файл «%1» уже есть: переименуйте или удалите его и запустите программу снова.")
                          .arg(keptName));
    if (!QFile::rename(logBook, kept))
        return refuse(QStringLiteral("Не удалось переименовать файл «%1» в «%2».").arg(fileName, keptName));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        importOldLogBook(kept, logBook);
        QApplication::restoreOverrideCursor();
        return true;
    } catch (const Error &error) {
        QApplication::restoreOverrideCursor();
        QFile::rename(kept, logBook);
        return refuse(QStringLiteral("Причина:\n") + error.message());
    }
}

}  // namespace vornak
