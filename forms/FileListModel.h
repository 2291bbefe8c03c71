#pragma once
// The file list's logic, without its widget: a folder, a mask, the sorted
// entries of the folder that match the mask, a single selection, and the text
// the list writes into its linked file-name line. TFileListBox shows this
// model in a list view.
//
// The list keeps the process's working folder on its own folder: each reading
// makes the folder the working folder, and it stays so.
//
// Errors are exceptions: EInOutError when a folder cannot be entered or
// listed, EInvalidFileName when a chosen file is not where the list looks
// for it. What was done before the error stays done.

#include "forms/FolderListing.h"

#include <QAbstractListModel>
#include <QString>

class FileListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The folder is the working folder at this moment; nothing is read until
    // the first ReadFolder(), so settings made before it read nothing.
    explicit FileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QString& Folder() const { return folder_; }
    // Moves the list to `folder` (made the working folder; kept as the system
    // spells it) and reads it, unless it is the list's folder already.
    void SetFolder(const QString& folder);
    const QString& Mask() const { return mask_; }
    // Takes the mask, and reads the folder again if it differs from the old one
    // (letter case does not count).
    void SetMask(const QString& mask);

    int Count() const { return int(listing_.Count()); }
    QString Item(int index) const { return listing_.Text(index).toString(); }

    // The selected entry, or -1.
    int ItemIndex() const { return itemIndex_; }
    // The selection as it was at the last line update.
    int LastItemIndex() const { return lastItemIndex_; }
    // The user's selection (-1 for none): returns whether it changed. The line
    // follows only with UpdateLine().
    bool SelectItem(int index);
    // The line update: the last selection becomes the current one, and the line
    // is given the selected entry's text, or the mask when none is selected.
    void UpdateLine();

    // The full path of the selected entry: folder, one "/" (none when the
    // folder ends in one) and the entry's text; empty when none is selected.
    QString SelectedPath() const;

    // Reads the folder: made the working folder, entries matching the mask,
    // nothing selected, then the line update (which shows the mask).
    void ReadFolder();

    // Points the list at a chosen path: moves to its folder, narrows the mask
    // to the file's name and selects it; a name with "*" or "?" becomes the
    // mask; a folder's path moves the list into it.
    void ApplyFilePath(const QString& path);

signals:
    // The text for the linked file-name line, at every line update.
    void LineUpdate(const QString& text);
    // The selection changed (-1: none), by the list itself or by SelectItem.
    void ItemIndexChanged(int index);

private:
    void MoveTo(const QString& folder);
    void SetItemIndex(int index);

    QString folder_;
    QString mask_ = QStringLiteral("*");
    FolderListing listing_;
    int itemIndex_ = -1;
    int lastItemIndex_ = -1;
    bool read_ = false;
};
