#include "platform/translation.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QTreeView>

namespace {

// The file list of Qt's file dialog writes its dates in the system locale, which the
// environment may leave English, and Qt's Korean translation lacks its word for a folder.
class KoreanFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (files && role == Qt::DisplayRole) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == 2 && files->isDir(source))
                return QStringLiteral("폴더");
            if (index.column() == 3)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Every file dialog, also those that Qt's print dialog opens, gets the Korean columns, each
// as wide as what it shows.
class FileDialogsInKorean : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // On showing: the dialog sets its columns' sizes up until then.
        if (event->type() != QEvent::Show)
            return false;
        auto *dialog = qobject_cast<QFileDialog *>(watched);
        if (!dialog || dialog->proxyModel())
            return false;
        dialog->setProxyModel(new KoreanFileColumns(dialog));
        if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView")))
            for (int column = 1; column < 4; ++column)
                details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        return false;
    }
};

} // namespace

bool InstallQtKoreanTranslation()
{
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    auto *app = QCoreApplication::instance();
    if (qobject_cast<QApplication *>(app))
        app->installEventFilter(new FileDialogsInKorean(app));
    // qt_ko pulls in the translations of every Qt module installed (qtbase_ko and the rest).
    auto *translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qt_ko"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
