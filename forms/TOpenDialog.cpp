#include "forms/TOpenDialog.h"

#include "forms/OpenDialogFilter.h"
#include "forms/OpenDialogWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <memory>

namespace {
constexpr const char* optionNames[] = {
    "ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
    "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
    "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
    "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
    "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
    "ofDontAddToRecent",  "ofForceShowHidden",
};
static_assert(std::size(optionNames) == ofForceShowHidden + 1);
} // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

int TOpenDialog::OptionFromName(const QString& name) {
    for (int i = 0; i < int(std::size(optionNames)); ++i)
        if (name.compare(QLatin1String(optionNames[i]), Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool TOpenDialog::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("FileName"))
        FileName = value.Str();
    else if (name == QLatin1String("Filter"))
        Filter = value.Str();
    else if (name == QLatin1String("FilterIndex"))
        FilterIndex = value.Int();
    else if (name == QLatin1String("Title"))
        Title = value.Str();
    else if (name == QLatin1String("InitialDir"))
        InitialDir = value.Str();
    else if (name == QLatin1String("DefaultExt"))
        DefaultExt = value.Str();
    else if (name == QLatin1String("Options")) {
        TOpenOptions options;
        for (const QString& item : value.SetItems()) {
            const int option = OptionFromName(item);
            if (option < 0)
                throw ELayoutValueError{QStringLiteral("unknown option '%1'").arg(item)};
            options.insert(TOpenOption(option));
        }
        Options = options;
    } else
        return TComponent::SetProperty(name, value);
    return true;
}

bool TOpenDialog::Execute() {
    // One dialog at a time: a second call while one is up (from a timer, say) fails.
    if (running_) return false;
    running_ = true;
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{running_};

    OpenDialogSettings settings;
    settings.title = Title;
    settings.fileName = FileName;
    settings.initialDir = InitialDir;
    settings.defaultExt = DefaultExt;
    settings.filters = ParseOpenDialogFilter(Filter);
    settings.filterIndex =
        FilterIndex >= 1 && FilterIndex <= settings.filters.size() ? FilterIndex - 1 : 0;
    settings.multiSelect = Options.contains(ofAllowMultiSelect);
    settings.sizable = Options.contains(ofEnableSizing);
    settings.readOnlyBox = !Options.contains(ofHideReadOnly);
    settings.readOnly = Options.contains(ofReadOnly);
    settings.showHidden = Options.contains(ofForceShowHidden);
    settings.fileMustExist = Options.contains(ofFileMustExist);
    settings.pathMustExist = Options.contains(ofPathMustExist);

    // Owned by the active window so that the window system keeps it in front;
    // the guard notices if that window goes while the dialog is up.
    QPointer<OpenDialogWindow> window =
        new OpenDialogWindow(settings, QApplication::activeWindow());
    const int result = window->exec();
    if (!window) return false;
    const std::unique_ptr<OpenDialogWindow> owned(window.data());
    if (result != QDialog::Accepted || owned->Answer().isEmpty()) return false;

    Files = owned->Answer();
    FileName = Files.first();
    FilterIndex = owned->ChosenFilterIndex() + 1;
    if (owned->ReadOnlyChecked())
        Options.insert(ofReadOnly);
    else
        Options.erase(ofReadOnly);
    const QString ext = QFileInfo(FileName).suffix();
    QString wanted = DefaultExt;
    if (wanted.startsWith(u'.')) wanted.remove(0, 1);
    if (!wanted.isEmpty() && ext.compare(wanted, Qt::CaseInsensitive) != 0)
        Options.insert(ofExtensionDifferent);
    else
        Options.erase(ofExtensionDifferent);
    return true;
}
