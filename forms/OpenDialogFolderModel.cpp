#include "forms/OpenDialogFolderModel.h"

#include "forms/CaseFold.h"

#include <QApplication>
#include <QDirIterator>
#include <QStyle>
#include <algorithm>

OpenDialogFolderModel::OpenDialogFolderModel(QObject* parent)
    : QAbstractListModel(parent),
      folderIcon_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
      fileIcon_(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {}

void OpenDialogFolderModel::Read(const QString& folder, const OpenDialogPatterns& patterns,
                                 bool showHidden) {
    beginResetModel();
    entries_.clear();
    QDir::Filters filters = QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot;
    if (showHidden) filters |= QDir::Hidden;
    QDirIterator it(folder, filters);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const bool isFolder = it.fileInfo().isDir();
        if (!isFolder && !patterns.Matches(name)) continue;
        entries_.push_back({name, Folded(name), isFolder});
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        if (a.folder != b.folder) return a.folder;
        if (a.folded != b.folded) return a.folded < b.folded;
        return a.name < b.name;
    });
    endResetModel();
}

int OpenDialogFolderModel::RowOf(const QString& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == name) return int(i);
    return -1;
}

int OpenDialogFolderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant OpenDialogFolderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Entry& e = entries_[size_t(index.row())];
    if (role == Qt::DisplayRole) return e.name;
    if (role == Qt::DecorationRole) return e.folder ? folderIcon_ : fileIcon_;
    return {};
}
