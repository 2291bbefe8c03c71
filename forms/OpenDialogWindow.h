#pragma once
// The file-open dialog's window, made of plain widgets so that nothing of it
// is saved anywhere: a folder line with an up button, the folder's entries,
// a file-name box, a list of file types, Open and Cancel. It is created for
// one use and destroyed after it.
//
// The file-name box on Open (or Enter):
// - a folder (absolute, or relative to the shown folder) is entered;
// - a name with "*" or "?" filters the shown files by it (a folder part in
//   front of it is entered first); the dialog stays open;
// - anything else is the answer, joined to the shown folder unless it is a
//   full path; neither the file nor its folder has to exist;
// - several names in double quotes are answered together.

#include "forms/OpenDialogFilter.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QToolButton;
class OpenDialogFolderModel;

struct OpenDialogSettings {
    QString title;      // empty: "Відкрити"
    QString fileName;   // the first text of the name box; its folder is the start folder
    QString initialDir; // start folder when the file name gives none
    QString defaultExt; // added to a typed name without extension
    QList<OpenDialogFilterEntry> filters;
    int filterIndex = 0; // 0-based entry shown first
    bool multiSelect = false;
    bool sizable = false;
    bool readOnlyBox = false; // show the "read-only" check box
    bool readOnly = false;    // its first state
    bool showHidden = false;
    bool fileMustExist = false;
    bool pathMustExist = false;
};

// The top-left corner at which a window of `frame` size is centred
// horizontally in `available`, its top a third of the way down the free
// height (kept on the screen when the window is taller than it).
QPoint OpenDialogTopLeft(const QRect& available, const QSize& frame);

class OpenDialogWindow : public QDialog {
public:
    static constexpr const char* DefaultTitle = "Відкрити";

    explicit OpenDialogWindow(const OpenDialogSettings& settings, QWidget* parent = nullptr);
    ~OpenDialogWindow() override;

    // After acceptance: the chosen full paths, the first being the one taken.
    const QStringList& Answer() const { return answer_; }
    int ChosenFilterIndex() const; // 0-based
    bool ReadOnlyChecked() const;

    // The parts, for keyboard and mouse driving in tests.
    const QString& Folder() const { return folder_; }
    QLineEdit* NameEdit() const { return nameEdit_; }
    QListView* View() const { return view_; }
    QComboBox* TypeCombo() const { return typeCombo_; }
    QPushButton* OpenButton() const { return openButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QToolButton* UpButton() const { return upButton_; }
    QCheckBox* ReadOnlyBox() const { return readOnlyBox_; }
    QString StatusText() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open();
    void activate(int row);
    void confirm(const QStringList& names);
    bool enterFolder(const QString& path);
    void goUp();
    void reread();
    void selectionChanged();
    void setStatus(const QString& text);
    void startIn(const OpenDialogSettings& settings);

    OpenDialogSettings settings_;
    QString folder_;
    QStringList typedPatterns_; // a typed wildcard, until another file type is chosen
    QStringList selectedNames_; // files selected in the view, in its order
    QString boxFromSelection_;  // what the name box showed for them
    QStringList answer_;
    bool placed_ = false;

    OpenDialogFolderModel* model_;
    QLineEdit* folderEdit_;
    QToolButton* upButton_;
    QListView* view_;
    QLabel* status_;
    QLineEdit* nameEdit_;
    QComboBox* typeCombo_;
    QPushButton* openButton_;
    QPushButton* cancelButton_;
    QCheckBox* readOnlyBox_ = nullptr;
};
