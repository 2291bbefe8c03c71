#pragma once
// The entries the file-open dialog shows for one folder: its subfolders (always,
// so the user can walk into them) followed by the files the current patterns
// admit, each group sorted without regard to letter case. Read at once from
// the folder; the dialog reads again whenever the folder or patterns change.

#include "forms/OpenDialogFilter.h"

#include <QAbstractListModel>
#include <QIcon>
#include <string>
#include <vector>

class OpenDialogFolderModel : public QAbstractListModel {
public:
    explicit OpenDialogFolderModel(QObject* parent = nullptr);

    // Lists `folder`; hidden names only when `showHidden`.
    void Read(const QString& folder, const OpenDialogPatterns& patterns, bool showHidden);

    bool IsFolder(int row) const { return entries_[size_t(row)].folder; }
    const QString& Name(int row) const { return entries_[size_t(row)].name; }
    // The row of the entry named exactly `name`, or -1.
    int RowOf(const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Entry {
        QString name;
        std::u32string folded;
        bool folder;
    };
    std::vector<Entry> entries_;
    QIcon folderIcon_, fileIcon_;
};
