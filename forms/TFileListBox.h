#pragma once
// A list of the names in a folder that match a mask, one per row, kept
// sorted, with single selection; it writes the selected name (or its mask)
// into its linked file-name line. The logic is FileListModel's; this is its
// look and its mouse and keyboard.

#include "forms/FileListModel.h"
#include "forms/TControl.h"

class FileListView;
class TEdit;

class TFileListBox : public TControl {
public:
    explicit TFileListBox(TComponent* AOwner);
    ~TFileListBox() override;

    // The selected entry's full path; setting it applies a chosen path.
    QString GetFileName() const { return model_.SelectedPath(); }
    void SetFileName(const QString& path) { model_.ApplyFilePath(path); }
    LUNOHRAI_PROPERTY(TFileListBox, QString, FileName);
    QString GetMask() const { return model_.Mask(); }
    void SetMask(const QString& mask) { model_.SetMask(mask); }
    LUNOHRAI_PROPERTY(TFileListBox, QString, Mask);
    QString GetDirectory() const { return model_.Folder(); }
    void SetDirectory(const QString& folder) { model_.SetFolder(folder); }
    LUNOHRAI_PROPERTY(TFileListBox, QString, Directory);
    int GetItemIndex() const { return model_.ItemIndex(); }
    int Count() const { return model_.Count(); }
    QString Item(int index) const { return model_.Item(index); }
    FileListModel& Model() { return model_; }

    // Raised when the user selects an entry with the mouse (also the selected
    // one) or the keyboard; never when the list selects by itself.
    TNotifyEvent OnClick;
    // A click on an entry, as the mouse gives it.
    void ClickItem(int index);
    QWidget* View() const;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    bool SetEvent(const QString& name, TNotifyEvent handler) override;
    void Loaded() override;
    void ScaleBy(int num, int den) override;

private:
    friend class FileListView;
    void syncSelection(int index);

    FileListModel model_;
    FileListView* view_;
    QString fileEditName_;
    TEdit* fileEdit_ = nullptr;
    int itemHeight_ = 13;
};
