#pragma once
// The file-open dialog component. It holds only its settings; the dialog's
// window is made when Execute runs and destroyed when it returns, and nothing
// of it is kept or written anywhere (no settings file, no recent-files list).

#include "forms/TComponent.h"

#include <QStringList>
#include <set>

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden,
};
using TOpenOptions = std::set<TOpenOption>;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    // The first text of the file-name box; after a confirmed use, the chosen path.
    QString FileName;
    // "description|patterns|description|patterns...", patterns separated by ";".
    QString Filter;
    // The file type shown first, counted from 1 (0 also means the first);
    // after a confirmed use, the type the user had chosen.
    int FilterIndex = 1;
    // Honoured: ofHideReadOnly (else a "read-only" check box, whose state comes
    // from and goes back to ofReadOnly), ofAllowMultiSelect, ofEnableSizing,
    // ofFileMustExist, ofPathMustExist, ofForceShowHidden; ofExtensionDifferent
    // is set after a use. The others have nothing to do here: this dialog never
    // changes the working folder, and never writes a recent-documents list.
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
    QString Title;      // empty: "Відкрити"
    QString InitialDir; // the start folder when FileName names none
    QString DefaultExt; // added to a typed name that has no extension
    // All paths chosen in the last confirmed use; FileName is the first.
    QStringList Files;

    // Runs the dialog modally (timers and painting go on meanwhile). True when
    // the user confirmed a choice; on cancel or failure nothing changes.
    bool Execute();

    bool SetProperty(const QString& name, const LayoutValue& value) override;

    // The option of that layout name, or -1.
    static int OptionFromName(const QString& name);

private:
    bool running_ = false;
};
