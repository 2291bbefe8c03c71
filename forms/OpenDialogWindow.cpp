#include "forms/OpenDialogWindow.h"

#include "forms/OpenDialogAnswer.h"
#include "forms/OpenDialogFolderModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <limits>

namespace {
constexpr QSize PreferredSize{560, 380};

// The monitor of the program's active window, else the primary one.
QScreen* ScreenOfActiveWindow() {
    if (QWidget* active = QApplication::activeWindow())
        if (QScreen* screen = active->screen()) return screen;
    return QGuiApplication::primaryScreen();
}
} // namespace

QPoint OpenDialogTopLeft(const QRect& available, const QSize& frame) {
    const int left = available.left() + (available.width() - frame.width()) / 2;
    const int top = available.top() + (available.height() - frame.height()) / 3;
    return {left, std::max(top, available.top())};
}

OpenDialogWindow::OpenDialogWindow(const OpenDialogSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), model_(new OpenDialogFolderModel(this)) {
    setObjectName(QStringLiteral("OpenDialog"));
    setWindowTitle(settings.title.isEmpty() ? QString::fromUtf8(DefaultTitle) : settings.title);
    setWindowModality(Qt::ApplicationModal);

    auto* folderLabel = new QLabel(QStringLiteral("&Папка:"), this);
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName(QStringLiteral("folderEdit"));
    folderEdit_->setReadOnly(true);
    folderLabel->setBuddy(folderEdit_);
    upButton_ = new QToolButton(this);
    upButton_->setObjectName(QStringLiteral("upButton"));
    upButton_->setText(QStringLiteral(".."));
    upButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    upButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    upButton_->setToolTip(QStringLiteral("На рівень вище (Backspace)"));

    view_ = new QListView(this);
    view_->setObjectName(QStringLiteral("fileView"));
    view_->setModel(model_);
    view_->setSelectionMode(settings.multiSelect ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setUniformItemSizes(true);
    view_->installEventFilter(this);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setWordWrap(true);
    status_->hide();

    auto* nameLabel = new QLabel(QStringLiteral("&Ім’я файлу:"), this);
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    // A multi-selection is written into the box; the answer limit, not the
    // line's default length, is what bounds it.
    nameEdit_->setMaxLength(std::numeric_limits<int>::max());
    nameLabel->setBuddy(nameEdit_);

    auto* typeLabel = new QLabel(QStringLiteral("&Тип файлів:"), this);
    typeCombo_ = new QComboBox(this);
    typeCombo_->setObjectName(QStringLiteral("typeCombo"));
    for (const OpenDialogFilterEntry& entry : settings.filters)
        typeCombo_->addItem(entry.description);
    typeCombo_->setEnabled(!settings.filters.isEmpty());
    if (!settings.filters.isEmpty())
        typeCombo_->setCurrentIndex(
            std::clamp(settings.filterIndex, 0, int(settings.filters.size()) - 1));
    typeLabel->setBuddy(typeCombo_);

    openButton_ = new QPushButton(QStringLiteral("&Відкрити"), this);
    openButton_->setObjectName(QStringLiteral("openButton"));
    openButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Скасувати"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(folderEdit_, 0, 1);
    grid->addWidget(upButton_, 0, 2);
    grid->addWidget(view_, 1, 0, 1, 3);
    grid->addWidget(status_, 2, 0, 1, 3);
    grid->addWidget(nameLabel, 3, 0);
    grid->addWidget(nameEdit_, 3, 1);
    grid->addWidget(openButton_, 3, 2);
    grid->addWidget(typeLabel, 4, 0);
    grid->addWidget(typeCombo_, 4, 1);
    grid->addWidget(cancelButton_, 4, 2);
    if (settings.readOnlyBox) {
        readOnlyBox_ = new QCheckBox(QStringLiteral("Лише для &читання"), this);
        readOnlyBox_->setObjectName(QStringLiteral("readOnlyBox"));
        readOnlyBox_->setChecked(settings.readOnly);
        grid->addWidget(readOnlyBox_, 5, 1);
    }
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    connect(upButton_, &QToolButton::clicked, this, &OpenDialogWindow::goUp);
    connect(view_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { activate(index.row()); });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OpenDialogWindow::selectionChanged);
    connect(typeCombo_, &QComboBox::currentIndexChanged, this, [this] {
        typedPatterns_.clear();
        reread();
    });
    connect(openButton_, &QPushButton::clicked, this, &OpenDialogWindow::open);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    const QRect available = ScreenOfActiveWindow()->availableGeometry();
    resize(PreferredSize.boundedTo(available.size()));
    if (settings.sizable)
        setSizeGripEnabled(true);
    else
        setFixedSize(size());

    startIn(settings);
    nameEdit_->setFocus();
    nameEdit_->selectAll();
}

OpenDialogWindow::~OpenDialogWindow() = default;

// The file name's folder when it names one that exists (the box then shows
// the name alone); otherwise the start folder, or the working folder, with the
// whole text in the box.
void OpenDialogWindow::startIn(const OpenDialogSettings& settings) {
    const QDir working(QDir::currentPath());
    auto isFolder = [&](const QString& path) {
        return QFileInfo(working.absoluteFilePath(path)).isDir();
    };
    QString box = settings.fileName;
    QString start;
    const qsizetype cut = settings.fileName.lastIndexOf(u'/');
    if (cut >= 0) {
        const QString folder = cut == 0 ? QStringLiteral("/") : settings.fileName.left(cut);
        if (isFolder(folder)) {
            start = folder;
            box = settings.fileName.mid(cut + 1);
        }
    }
    if (start.isEmpty() && !settings.initialDir.isEmpty() && isFolder(settings.initialDir))
        start = settings.initialDir;
    if (start.isEmpty()) start = working.absolutePath();
    if (!enterFolder(start)) enterFolder(QStringLiteral("/"));
    nameEdit_->setText(box);
}

void OpenDialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_) return;
    placed_ = true;
    move(OpenDialogTopLeft(ScreenOfActiveWindow()->availableGeometry(), frameGeometry().size()));
}

bool OpenDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Handled here, so that the default button does not act as well.
            const QModelIndex current = view_->currentIndex();
            if (current.isValid())
                activate(current.row());
            else
                open();
            return true;
        }
        if (key == Qt::Key_Backspace) {
            goUp();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString OpenDialogWindow::StatusText() const {
    return status_->text();
}

int OpenDialogWindow::ChosenFilterIndex() const {
    return std::max(typeCombo_->currentIndex(), 0);
}

bool OpenDialogWindow::ReadOnlyChecked() const {
    return readOnlyBox_ ? readOnlyBox_->isChecked() : settings_.readOnly;
}

void OpenDialogWindow::setStatus(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

bool OpenDialogWindow::enterFolder(const QString& path) {
    const QDir from(folder_.isEmpty() ? QDir::currentPath() : folder_);
    const QString target = QDir::cleanPath(from.absoluteFilePath(path));
    const QFileInfo info(target);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        setStatus(QStringLiteral("Не вдалося відкрити папку «%1».").arg(target));
        return false;
    }
    folder_ = target;
    folderEdit_->setText(folder_);
    upButton_->setEnabled(folder_ != QLatin1String("/"));
    setStatus({});
    reread();
    return true;
}

void OpenDialogWindow::goUp() {
    const QString from = QFileInfo(folder_).fileName();
    if (folder_ == QLatin1String("/") || !enterFolder(folder_ + QStringLiteral("/.."))) return;
    // Keep the place: the folder just left becomes the current entry.
    const int row = model_->RowOf(from);
    if (row >= 0) view_->setCurrentIndex(model_->index(row));
    view_->selectionModel()->clearSelection();
}

void OpenDialogWindow::reread() {
    QStringList patterns = typedPatterns_;
    const int type = typeCombo_->currentIndex();
    if (patterns.isEmpty() && type >= 0 && type < settings_.filters.size())
        patterns = settings_.filters[type].patterns;
    model_->Read(folder_, OpenDialogPatterns(patterns), settings_.showHidden);
    selectedNames_.clear();
    boxFromSelection_.clear();
}

// The files of the view's selection go into the name box, in the view's order.
void OpenDialogWindow::selectionChanged() {
    QList<int> rows;
    for (const QModelIndex& index : view_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    selectedNames_.clear();
    for (int row : rows)
        if (!model_->IsFolder(row)) selectedNames_ << model_->Name(row);
    if (selectedNames_.isEmpty()) {
        boxFromSelection_.clear();
        return;
    }
    boxFromSelection_ = JoinNameBox(selectedNames_);
    nameEdit_->setText(boxFromSelection_);
}

void OpenDialogWindow::activate(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    if (model_->IsFolder(row))
        enterFolder(model_->Name(row));
    else
        open();
}

void OpenDialogWindow::open() {
    setStatus({});
    const QString text = nameEdit_->text();
    if (!selectedNames_.isEmpty() && text == boxFromSelection_) {
        confirm(selectedNames_);
        return;
    }
    const QStringList names = SplitNameBox(text);
    if (names.isEmpty()) {
        // Nothing typed: Open on one selected folder enters it.
        const QModelIndexList rows = view_->selectionModel()->selectedRows();
        if (rows.size() == 1 && model_->IsFolder(rows[0].row()))
            enterFolder(model_->Name(rows[0].row()));
        return;
    }
    if (names.size() > 1) {
        confirm(names);
        return;
    }

    QString name = names.first();
    const QString path = JoinToFolder(folder_, name);
    if (ContainsWildcard(name)) {
        const qsizetype cut = path.lastIndexOf(u'/');
        const QString pattern = path.mid(cut + 1);
        const QStringList before = typedPatterns_;
        typedPatterns_ = {pattern};
        if (!enterFolder(cut == 0 ? QStringLiteral("/") : path.left(cut))) {
            typedPatterns_ = before;
            return;
        }
        nameEdit_->setText(pattern);
        nameEdit_->selectAll();
        return;
    }
    if (QFileInfo(path).isDir()) {
        if (enterFolder(path)) nameEdit_->clear();
        return;
    }
    if (!settings_.defaultExt.isEmpty() && !QFileInfo(name).fileName().contains(u'.')) {
        QString ext = settings_.defaultExt;
        if (ext.startsWith(u'.')) ext.remove(0, 1);
        name += u'.' + ext;
    }
    confirm({name});
}

void OpenDialogWindow::confirm(const QStringList& names) {
    const std::optional<QStringList> paths = ResolveOpenDialogAnswer(folder_, names);
    if (!paths) {
        // The answer does not fit: the dialog fails, which counts as a cancel.
        reject();
        return;
    }
    for (const QString& path : *paths) {
        const QFileInfo info(path);
        if (settings_.pathMustExist && !info.dir().exists()) {
            setStatus(QStringLiteral("Папку «%1» не знайдено.").arg(info.path()));
            return;
        }
        if (settings_.fileMustExist && (!info.exists() || info.isDir())) {
            setStatus(QStringLiteral("Файл «%1» не знайдено.").arg(path));
            return;
        }
    }
    answer_ = *paths;
    accept();
}
