#pragma once
// A list of the names in a folder that match a mask, one per 13-pixel row,
// kept sorted, with single selection; it writes the selected name (or its
// mask) into its linked file-name line.

#include "forms/TControl.h"

class QListView;
class TEdit;

class TFileListBox : public TControl {
public:
    explicit TFileListBox(TComponent* AOwner);
    ~TFileListBox() override;

    QListView* View() const { return view_; }
    bool SetProperty(const QString& name, const LayoutValue& value) override;
    void Loaded() override;

private:
    QListView* view_;
    QString fileEditName_;
    TEdit* fileEdit_ = nullptr;
    int itemHeight_ = 13;
};
