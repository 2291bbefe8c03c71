#pragma once
// A one-line edit.

#include "forms/TControl.h"

class QLineEdit;

class TEdit : public TControl {
public:
    explicit TEdit(TComponent* AOwner);
    QString GetText() const;
    void SetText(const QString& t);
    LUNOHRAI_PROPERTY(TEdit, QString, Text);
    void SelectAll();
    QLineEdit* LineEdit() const { return edit_; }

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    void ScaleBy(int num, int den) override;

protected:
    void Changed() override;

private:
    void fitHeight();
    QLineEdit* edit_;
    bool autoSize_ = true;
};
