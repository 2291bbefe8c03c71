#include "forms/TFileListBox.h"

#include "forms/TApplication.h"
#include "forms/TEdit.h"

#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <cmath>

namespace {
// Rows of the list's item height, each text drawn 2 pixels from the left edge.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(const int& height) : height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), height_);
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        if (selected) p->fillRect(option.rect, pal.color(QPalette::Highlight));
        p->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(option.font);
        p->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    index.data().toString());
    }

private:
    const int& height_;
};
} // namespace

class FileListView : public QListView {
public:
    explicit FileListView(TFileListBox* owner) : owner_(owner) {
        setUniformItemSizes(true);
        setFocusPolicy(Qt::StrongFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setItemDelegate(new RowDelegate(owner->itemHeight_));
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || owner_->Count() == 0) return e->ignore();
        // Below the last entry the click selects the last one, as list boxes do.
        const QModelIndex at = indexAt(e->position().toPoint());
        owner_->ClickItem(at.isValid() ? at.row() : owner_->Count() - 1);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void keyPressEvent(QKeyEvent* e) override {
        const int before = currentIndex().row();
        QListView::keyPressEvent(e);
        const int after = currentIndex().row();
        if (after >= 0 && after != before) owner_->ClickItem(after);
    }

private:
    TFileListBox* owner_;
};

// The view only keeps the pointer while the members are made.
TFileListBox::TFileListBox(TComponent* AOwner) : TControl(AOwner, new FileListView(this), true) {
    view_ = static_cast<FileListView*>(Widget());
    view_->setModel(&model_);
    QObject::connect(&model_, &FileListModel::ItemIndexChanged, view_,
                     [this](int index) { syncSelection(index); });
    QObject::connect(&model_, &QAbstractItemModel::modelReset, view_,
                     [this] { syncSelection(model_.ItemIndex()); });
    SetColor(clWindow);
    SetTabStop(true);
}

TFileListBox::~TFileListBox() = default;

QWidget* TFileListBox::View() const {
    return view_;
}

void TFileListBox::syncSelection(int index) {
    const QModelIndex i = model_.index(index, 0);
    if (i.isValid()) {
        view_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
        view_->scrollTo(i);
    } else {
        view_->selectionModel()->clear();
    }
}

void TFileListBox::ClickItem(int index) {
    if (index < 0 || index >= Count()) return;
    const bool changed = model_.SelectItem(index);
    Application->CallHandler(OnClick, this);
    // The line follows a click that changed the selection, after the handler.
    if (changed) model_.UpdateLine();
}

bool TFileListBox::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("ItemHeight"))
        itemHeight_ = value.Int();
    else if (name == QLatin1String("FileEdit"))
        fileEditName_ = value.Ident();
    else if (name == QLatin1String("Mask"))
        model_.SetMask(value.Str());
    else if (name == QLatin1String("FileType"))
        value.SetItems(); // every kind is listed
    else if (name == QLatin1String("IntegralHeight") || name == QLatin1String("ShowGlyphs"))
        value.Bool();
    else
        return TControl::SetProperty(name, value);
    return true;
}

bool TFileListBox::SetEvent(const QString& name, TNotifyEvent handler) {
    if (name != QLatin1String("OnClick")) return false;
    OnClick = std::move(handler);
    return true;
}

void TFileListBox::Loaded() {
    TControl::Loaded();
    if (!fileEditName_.isEmpty()) {
        fileEdit_ = dynamic_cast<TEdit*>(Owner()->FindComponent(fileEditName_));
        if (!fileEdit_)
            throw ELayoutValueError{QStringLiteral("no edit named '%1'").arg(fileEditName_)};
        QObject::connect(&model_, &FileListModel::LineUpdate, view_, [this](const QString& text) {
            fileEdit_->Text = text;
            fileEdit_->SelectAll();
        });
    }
    // With its line linked, the list reads its folder, the working folder.
    model_.ReadFolder();
}

void TFileListBox::ScaleBy(int num, int den) {
    TControl::ScaleBy(num, den);
    itemHeight_ = static_cast<int>(std::lround(double(itemHeight_) * num / den));
}
