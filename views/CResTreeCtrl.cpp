#include "views/CResTreeCtrl.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "engine/ScriptStatistics.h"
#include "preview/CDlgPreview.h"
#include "preview/PreviewFonts.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/PreviewTranslator.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoreFeedback.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ProgramSettings.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <functional>

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

} // namespace

CResTreeCtrl::CResTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("1011"));
    setHeaderHidden(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_model.updateIcons = AppSettings().Get(Settings::Flag::UpdateTree);
    m_originalFont = m_translationFont = TemplateFont();
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnCurrentItemChanged(current); });
}

CResTreeCtrl::~CResTreeCtrl()
{
    DestroyPreviews();
}

void CResTreeCtrl::SetDocument(CTrelvarDoc* document)
{
    m_document = document;
    if (document)
        m_model.SetStores(document->General(), document->Context(), document->NotExtracted());
    else
        m_model.SetStores(nullptr, nullptr, nullptr);
}

QIcon CResTreeCtrl::Icon(int image, int overlay)
{
    static QHash<int, QIcon> cache;
    const int key = image * 16 + overlay;
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QPixmap picture(QStringLiteral(":/lorvo/icons/tree%1.png").arg(image));
    if (overlay == ResourceTree::OverlayNotExtracted || overlay == ResourceTree::OverlayExtracted) {
        QPainter painter(&picture);
        painter.drawPixmap(0, 0,
                           QPixmap(QStringLiteral(":/lorvo/icons/tree%1.png")
                                       .arg(overlay == ResourceTree::OverlayNotExtracted
                                                ? ResourceTree::ImageOverlayNotExtracted
                                                : ResourceTree::ImageOverlayExtracted)));
    }
    const QIcon icon(picture);
    cache.insert(key, icon);
    return icon;
}

void CResTreeCtrl::RebuildTree()
{
    DestroyPreviews();
    m_treeActive = false;
    clear();
    if (m_document && m_document->Files())
        SetTreeFiles(m_model, *m_document->Files());
    else
        m_model.SetFileMap({});
    {
        CWaitWindow wait(DisplayText(std::string(MessageText(MsgLoadingResources))),
                         CWaitWindow::WithProgressBar, window());
        if (!m_model.RebuildTree(&wait))
            return;
    }
    Render();
    m_treeActive = true;
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

void CResTreeCtrl::ClearTree()
{
    DestroyPreviews();
    m_treeActive = false;
    clear();
    m_model.Clear();
}

void CResTreeCtrl::Render()
{
    const bool active = m_treeActive;
    m_treeActive = false;
    clear();
    std::function<void(const ResourceTreeItem&, QTreeWidgetItem*)> add = [&](const ResourceTreeItem& item,
                                                                             QTreeWidgetItem* parent) {
        auto* view = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        view->setText(0, DisplayText(item.text));
        // A script's whole path, and a long name whole, on hovering.
        if (!item.source.empty() && item.level == ResourceTreeItem::Level::File)
            view->setToolTip(0, DisplayText(item.source));
        else if (item.text.size() > 24)
            view->setToolTip(0, DisplayText(item.text));
        view->setIcon(0, Icon(item.image, item.overlay));
        view->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(&item)));
        for (const auto& child : item.children)
            add(*child, view);
        view->setExpanded(item.expanded);
    };
    for (const auto& file : m_model.Files())
        add(*file, nullptr);
    m_treeActive = active;
}

void CResTreeCtrl::RefreshIcons()
{
    QTreeWidgetItemIterator it(this);
    while (*it) {
        const auto* item =
            reinterpret_cast<const ResourceTreeItem*>((*it)->data(0, kItemRole).value<quintptr>());
        if (item)
            (*it)->setIcon(0, Icon(item->image, item->overlay));
        ++it;
    }
}

void CResTreeCtrl::UpdateIconsNow()
{
    const bool saved = m_model.updateIcons;
    m_model.updateIcons = true;
    m_model.UpdateTranslationIcons();
    m_model.updateIcons = saved;
    m_iconsDirty = false;
    RefreshIcons();
}

void CResTreeCtrl::UpdateIconsIfDirty()
{
    if (!m_iconsDirty)
        return;
    m_iconsDirty = false;
    m_model.UpdateTranslationIcons();
    RefreshIcons();
}

void CResTreeCtrl::RefreshExtractMarks()
{
    m_model.RefreshExtractMarks();
    RefreshIcons();
}

const ResourceTreeItem* CResTreeCtrl::SelectedItem() const
{
    const QTreeWidgetItem* current = currentItem();
    return current ? reinterpret_cast<const ResourceTreeItem*>(current->data(0, kItemRole).value<quintptr>())
                   : nullptr;
}

QTreeWidgetItem* CResTreeCtrl::ViewItem(const ResourceTreeItem* item) const
{
    QTreeWidgetItemIterator it(const_cast<CResTreeCtrl*>(this));
    while (*it) {
        if ((*it)->data(0, kItemRole).value<quintptr>() == reinterpret_cast<quintptr>(item))
            return *it;
        ++it;
    }
    return nullptr;
}

void CResTreeCtrl::Select(const ResourceTreeItem* item)
{
    if (QTreeWidgetItem* view = ViewItem(item)) {
        for (QTreeWidgetItem* p = view->parent(); p; p = p->parent())
            p->setExpanded(true);
        setCurrentItem(view);
        scrollToItem(view);
    }
}

void CResTreeCtrl::SaveSelection() const
{
    if (!m_document || m_document->PathName().empty())
        return;
    AppSettings().Set(m_document->PathName(), Settings::DictionaryKey::SelTreeItem,
                      m_model.SaveSelection(SelectedItem()));
}

void CResTreeCtrl::RestoreSelection(bool sampleStart)
{
    if (!m_document || m_document->PathName().empty())
        return;
    const std::string saved = AppSettings().Get(m_document->PathName(), Settings::DictionaryKey::SelTreeItem);
    if (const ResourceTreeItem* item = m_model.RestoreSelection(saved, sampleStart))
        Select(item);
}

void CResTreeCtrl::OnCurrentItemChanged(QTreeWidgetItem* current)
{
    if (!m_treeActive)
        return;
    const ResourceTreeItem* item =
        current ? reinterpret_cast<const ResourceTreeItem*>(current->data(0, kItemRole).value<quintptr>())
                : nullptr;
    m_model.selectedKind = item ? ResourceTree::KindOf(item) : 6;
    const int kind = m_model.selectedKind;
    if ((kind == 4 || kind == 5) && m_previewOnSelect)
        Preview();
    else if (kind != 4 && kind != 5)
        DestroyPreviews();
    emit selectionChanged(kind);
    UpdateIconsIfDirty();
}

void CResTreeCtrl::SetPreviewVisible(bool visible)
{
    m_previewVisible = visible;
    if (m_dialogPreview)
        m_dialogPreview->setVisible(visible);
    if (m_menuPreview)
        m_menuPreview->setVisible(visible);
    FitHost();
}

void CResTreeCtrl::FitHost()
{
    // The area the previews are shown in grows to hold a preview larger
    // than the pane (its scroll bars then show it all), and shrinks back
    // when none is shown.
    QWidget* host = m_host ? m_host.data() : nullptr;
    if (!host)
        return;
    QSize needed(0, 0);
    for (const CDlgPreview* preview : {m_dialogPreview.data(), m_menuPreview.data()}) {
        if (preview && m_previewVisible)
            needed = needed.expandedTo(preview->size() + QSize(2 * kPreviewMargin, 2 * kPreviewMargin + 20));
    }
    host->setMinimumSize(needed);
}

void CResTreeCtrl::SetPreviewFonts(const QFont& original, const QFont& translation, bool forControls)
{
    m_originalFont = original;
    m_translationFont = translation;
    m_fontsForControls = forControls;
}

CDlgPreview* CResTreeCtrl::DialogPreview() const
{
    return m_dialogPreview;
}

CDlgPreview* CResTreeCtrl::MenuPreview() const
{
    return m_menuPreview;
}

void CResTreeCtrl::DestroyPreviews()
{
    delete m_dialogPreview.data();
    delete m_menuPreview.data();
    m_dialogPreview = nullptr;
    m_menuPreview = nullptr;
    FitHost();
}

void CResTreeCtrl::DropTranslator()
{
    m_translator.reset();
}

int CResTreeCtrl::Preview()
{
    if (!m_previewVisible)
        return 0;
    const ResourceTreeItem* item = SelectedItem();
    if (!item || !item->parent || !item->parent->parent)
        return 0;
    const std::string source = ResourceTree::FileOf(item)->source;
    const std::string& name = item->text;
    const int kind = item->data;
    if (source.empty())
        return 0;
    PreviewTranslator* translator = nullptr;
    if (m_translatedMode && m_document && m_document->IsOpen()) {
        if (!m_translator)
            m_translator = std::make_unique<PreviewTranslator>();
        m_translator->Prepare(m_document->General(), m_document->Context(), m_document->NotExtracted(),
                              source, name, kind);
        translator = m_translator.get();
    }
    PreviewReader reader(m_styles, m_controlCounter);
    const PreviewReader::Result result = reader.Read(source, name, kind, m_dialog, m_menu);
    if (!result.opened)
        return 0;
    if (!result.ended) {
        DestroyPreviews();
        return 1;
    }
    if (kind == 5) {
        FillDialogDisplay(m_dialog, translator, m_document ? m_document->Context() : nullptr, source, name);
        CreateDialogPreview();
    } else {
        FillMenuDisplay(m_menu, translator);
        ShowMenuPreview();
    }
    return 1;
}

void CResTreeCtrl::Place(CDlgPreview* preview, bool menu)
{
    QWidget* host = m_host ? m_host.data() : parentWidget();
    if (m_host) {
        // The host first takes the size the preview needs, then the preview
        // goes in its middle (or at its margin, when the host scrolls).
        if (menu)
            m_menuPreview = preview;
        else
            m_dialogPreview = preview;
        FitHost();
        if (QWidget* viewport = host->parentWidget())
            host->resize(host->minimumSize().expandedTo(viewport->size()));
    }
    const QSize area = host->size();
    const int x = (area.width() - preview->width()) / 2;
    const int y =
        menu ? (area.height() - preview->height()) / 3 : (area.height() - preview->height()) / 2 + 20;
    preview->move(std::max(kPreviewMargin, x), std::max(kPreviewMargin, y));
}

void CResTreeCtrl::CreateDialogPreview()
{
    DestroyPreviews();
    QWidget* host = m_host ? m_host.data() : parentWidget();
    auto* preview = new CDlgPreview(host, &m_dialog, m_translatedMode);
    const Settings settings = AppSettings();
    preview->SetShowRectangles(settings.Get(Settings::Flag::ShowRectangle));
    preview->SetRectangleColor(settings.Get(Settings::Colour::Rectangle));
    const QFont& frameFont = m_translatedMode ? m_translationFont : m_originalFont;
    CDlgPreview::Fonts fonts;
    fonts.window = TemplateFont();
    fonts.controls = m_fontsForControls ? frameFont : TemplateFont();
    fonts.edits = frameFont;
    preview->BuildDialog(fonts);
    Place(preview, false);
    preview->setVisible(m_previewVisible);
    m_dialogPreview = preview;
}

void CResTreeCtrl::ShowMenuPreview()
{
    DestroyPreviews();
    QWidget* host = m_host ? m_host.data() : parentWidget();
    auto* preview = new CDlgPreview(host, nullptr, m_translatedMode);
    preview->BuildMenu(m_menu, tr("Menu bar"), m_translatedMode ? m_translationFont : m_originalFont);
    Place(preview, true);
    preview->setVisible(m_previewVisible);
    m_menuPreview = preview;
}

bool CResTreeCtrl::CanDoNotExtract() const
{
    const int kind = m_model.selectedKind;
    return m_document && m_document->IsOpen() && (kind == 4 || kind == 5) && !SelectedSource().empty() &&
           !SelectedResourceName().empty();
}

bool CResTreeCtrl::IsNotExtracted() const
{
    return CanDoNotExtract() && m_document->NotExtracted()->Contains(NotExtractedList::MakeKey(
                                    SelectedSource(), SelectedResourceName(), m_model.selectedKind));
}

void CResTreeCtrl::OnDoNotExtract()
{
    if (!CanDoNotExtract())
        return;
    const std::string key =
        NotExtractedList::MakeKey(SelectedSource(), SelectedResourceName(), m_model.selectedKind);
    NotExtractedList& list = *m_document->NotExtracted();
    auto* item = const_cast<ResourceTreeItem*>(SelectedItem());
    if (!list.Contains(key)) {
        list.Add(key);
        item->overlay = ResourceTree::OverlayNotExtracted;
    } else {
        list.Remove(key);
        item->overlay = ResourceTree::OverlayExtracted;
    }
    if (QTreeWidgetItem* view = currentItem())
        view->setIcon(0, Icon(item->image, item->overlay));
    m_document->SetModifiedFlag();
    emit documentChanged();
}

void CResTreeCtrl::OnDelete()
{
    const ResourceTreeItem* item = SelectedItem();
    if (!item || item->parent || !m_document || !m_document->IsOpen())
        return;
    // The script is named by its full path: two scripts may share a name.
    const std::string source = item->source;
    if (!m_document->Files()->RemoveFile(source))
        return;
    m_document->Context()->RemoveFile(source);
    m_document->SetModifiedFlag();
    DestroyPreviews();
    m_treeActive = false;
    delete currentItem();
    m_model.RemoveFile(source);
    m_treeActive = true;
    OnCurrentItemChanged(currentItem());
    emit documentChanged();
}

void CResTreeCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* under = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!under)
        return;
    setCurrentItem(under);
    QMenu menu(this);
    const int kind = m_model.selectedKind;
    if (kind == 4 || kind == 5) {
        if (!CanDoNotExtract())
            return;
        QAction* doNotExtract = menu.addAction(DisplayText(std::string("Do not extract")));
        doNotExtract->setCheckable(true);
        doNotExtract->setChecked(IsNotExtracted());
        connect(doNotExtract, &QAction::triggered, this, [this] { OnDoNotExtract(); });
    } else if (kind == 0) {
        QAction* properties = menu.addAction(tr("Properties"));
        properties->setObjectName(QStringLiteral("1093"));
        connect(properties, &QAction::triggered, this, &CResTreeCtrl::OnFileProperties);
        QAction* remove = menu.addAction(tr("Delete"));
        connect(remove, &QAction::triggered, this, [this] { OnDelete(); });
    } else {
        return;
    }
    menu.exec(event->globalPos());
}

void CResTreeCtrl::OnFileProperties()
{
    const ResourceTreeItem* file = ResourceTree::FileOf(SelectedItem());
    if (!file)
        return;
    emit filePropertiesRequested(QString::fromStdString(file->source),
                                 QString::fromStdString(file->destination));
}

void CResTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        OnDelete();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
