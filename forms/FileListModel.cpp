#include "forms/FileListModel.h"

#include "forms/CaseFold.h"
#include "forms/InOutError.h"
#include "forms/WorkingFolder.h"

FileListModel::FileListModel(QObject* parent) : QAbstractListModel(parent) {
    try {
        folder_ = CurrentFolder();
    } catch (const EInOutError&) {
        // The working folder is gone; the first reading reports it.
    }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count()) return {};
    return Item(index.row());
}

void FileListModel::SetFolder(const QString& folder) {
    if (!SamePath(folder, folder_)) MoveTo(folder);
}

void FileListModel::MoveTo(const QString& folder) {
    ChangeFolder(folder);
    folder_ = CurrentFolder();
    if (read_) ReadFolder();
}

void FileListModel::SetMask(const QString& mask) {
    const bool changed = !EqualIgnoringCase(mask, mask_);
    mask_ = mask;
    if (changed && read_) ReadFolder();
}

void FileListModel::SetItemIndex(int index) {
    if (index == itemIndex_) return;
    itemIndex_ = index;
    emit ItemIndexChanged(index);
}

bool FileListModel::SelectItem(int index) {
    if (index < -1 || index >= Count()) index = -1;
    const bool changed = index != itemIndex_;
    SetItemIndex(index);
    return changed;
}

void FileListModel::UpdateLine() {
    lastItemIndex_ = itemIndex_;
    emit LineUpdate(itemIndex_ >= 0 ? Item(itemIndex_) : mask_);
}

QString FileListModel::SelectedPath() const {
    return itemIndex_ >= 0 ? JoinPath(folder_, listing_.Text(itemIndex_)) : QString();
}

void FileListModel::ReadFolder() {
    read_ = true;
    ChangeFolder(folder_);
    FolderListing listing = FolderListing::ReadWorkingFolder(WildcardMask(mask_));
    const bool hadSelection = itemIndex_ >= 0;
    beginResetModel();
    listing_ = std::move(listing);
    itemIndex_ = -1;
    endResetModel();
    if (hadSelection) emit ItemIndexChanged(-1);
    UpdateLine();
    if (listing_.Error()) throw EInOutError(InOutErrorCode(listing_.Error()));
}

void FileListModel::ApplyFilePath(const QString& path) {
    // 1. Nothing to do for no path, or for the selected entry's own path.
    if (path.isEmpty() || (itemIndex_ >= 0 && SamePath(path, SelectedPath()))) return;

    // 2. Folder and name, split at the last "/".
    const qsizetype slash = path.lastIndexOf(u'/');
    QString folder = slash < 0    ? QStringLiteral(".")
                     : slash == 0 ? QStringLiteral("/")
                                  : path.left(slash);
    QString name = path.mid(slash + 1);
    {
        // The working folder visits the path's folder for the existence test
        // and comes back afterwards, also when an error is on its way.
        WorkingFolderKeeper keeper;
        ChangeFolder(folder);
        folder = CurrentFolder();
        // 3. A plain name that is no file is taken to be a subfolder.
        if (!name.isEmpty() && !ContainsWildcard(name) && !FileExists(name)) {
            ChangeFolder(name);
            folder = CurrentFolder();
            name.clear();
        }
    }

    // 4. Another folder: the list moves there and reads it with its mask.
    if (!SamePath(folder, folder_)) MoveTo(folder);

    // 5. A pattern becomes the mask.
    if (ContainsWildcard(name)) {
        SetMask(name);
        return;
    }
    // 6. A folder's path ends here.
    if (name.isEmpty()) return;

    // 7. Select the entry of that name, if it is listed.
    if (itemIndex_ < 0 || !SamePath(JoinPath(folder_, name), SelectedPath())) {
        SetItemIndex(int(listing_.IndexOf(name)));
        UpdateLine();
    }
    // 8. The file must be there.
    if (!FileExists(JoinPath(folder_, name)))
        throw EInvalidFileName(QStringLiteral("Invalid file name - %1").arg(path));
    // 9. Not listed: narrow the mask to the name, and select it.
    if (itemIndex_ < 0) {
        SetMask(name);
        SetItemIndex(int(listing_.IndexOf(name)));
        UpdateLine();
    }
}
