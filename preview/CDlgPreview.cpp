#include "preview/CDlgPreview.h"

#include "dictionary/Codec.h"
#include "preview/PreviewFit.h"
#include "preview/PreviewFonts.h"
#include "preview/model/PreviewMenu.h"
#include "tessary/CoolDisplay.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kDisabled = 0x08000000;
constexpr std::uint32_t kCaption = 0x00C00000;
constexpr std::uint32_t kBorder = 0x00800000;
constexpr std::uint32_t kSysMenu = 0x00080000;

// The texts of an original preview are bytes of the dictionary's originals'
// encoding; those of a translated one, of its translations'.
QString FromScript(const std::string& bytes, bool translated)
{
    const int codePage = translated ? OpenTranslationsCodePage() : OpenOriginalsCodePage();
    return QString::fromStdString(Codec::Cached(codePage).ToUtf8(bytes));
}

// A label text with its mnemonic underlined, as a static control shows it
// ("&&" is one ampersand); SS_NOPREFIX shows the text as it is.
QString LabelHtml(const QString& text, bool noPrefix)
{
    QString html;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!noPrefix && c == QLatin1Char('&') && i + 1 < text.size()) {
            const QChar next = text[++i];
            if (next == QLatin1Char('&'))
                html += QStringLiteral("&amp;");
            else
                html += QStringLiteral("<u>") + QString(next).toHtmlEscaped() + QStringLiteral("</u>");
            continue;
        }
        if (c == QLatin1Char('\n'))
            html += QStringLiteral("<br>");
        else if (c != QLatin1Char('\r'))
            html += QString(c).toHtmlEscaped();
    }
    return html;
}

// The client area: the dialog's face, with the rectangles of the
// translated preview painted under the controls.
class PreviewClient : public QWidget
{
public:
    PreviewClient(CDlgPreview* preview) : QWidget(preview), m_preview(preview) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        m_preview->PaintRectangles(painter);
    }

private:
    CDlgPreview* m_preview;
};

QWidget* CreateStatic(const PreviewControl& control, const QString& text, QWidget* parent)
{
    const std::uint32_t type = control.style & 0x1F;
    auto* label = new QLabel(parent);
    if (control.kind == PreviewControlKind::Icon || type == 0x3) {
        label->setPixmap(QPixmap(QStringLiteral(":/lorvo/icons/lingorel32.png")));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    if ((type >= 0x4 && type <= 0x9) || (type >= 0x10 && type <= 0x12)) {
        // Rectangles and frames drawn by the static itself.
        label->setFrameShape(type >= 0x10 ? QFrame::Box : QFrame::Box);
        label->setFrameShadow(type >= 0x10 ? QFrame::Sunken : QFrame::Plain);
        return label;
    }
    label->setTextFormat(Qt::RichText);
    label->setText(LabelHtml(text, control.style & 0x80));
    Qt::Alignment align = Qt::AlignTop;
    align |= type == 0x1 ? Qt::AlignHCenter : type == 0x2 ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(align);
    label->setWordWrap(type <= 0x2);
    if (control.style & 0x1000) { // SS_SUNKEN
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
    } else if (control.style & kBorder) {
        label->setFrameShape(QFrame::Box);
    }
    return label;
}

QWidget* CreateControl(const PreviewControl& control, bool translated, QWidget* parent)
{
    const QString text = FromScript(control.displayText, translated);
    switch (control.kind) {
    case PreviewControlKind::Text:
    case PreviewControlKind::Icon:
    case PreviewControlKind::Static:
        return CreateStatic(control, text, parent);
    case PreviewControlKind::Frame:
        return new QGroupBox(text, parent);
    case PreviewControlKind::PushButton:
    case PreviewControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(control.kind == PreviewControlKind::DefPushButton);
        button->setAutoDefault(false);
        return button;
    }
    case PreviewControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case PreviewControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false);
        return radio;
    }
    case PreviewControlKind::Edit: {
        if (control.style & 0x4) { // ES_MULTILINE
            auto* edit = new QPlainTextEdit(parent);
            edit->setReadOnly(control.style & 0x800);
            return edit;
        }
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(control.style & 0x800);
        edit->setAlignment(control.style & 0x1   ? Qt::AlignHCenter
                           : control.style & 0x2 ? Qt::AlignRight
                                                 : Qt::AlignLeft);
        return edit;
    }
    case PreviewControlKind::ListBox:
        return new QListWidget(parent);
    case PreviewControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable((control.style & 0x3) != 0x3);
        for (const std::string& item : control.items)
            combo->addItem(FromScript(item, translated));
        return combo;
    }
    case PreviewControlKind::TreeView: {
        auto* tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        return tree;
    }
    case PreviewControlKind::ListView: {
        auto* list = new QTreeWidget(parent);
        list->setRootIsDecorated(false);
        list->setHeaderHidden(!(control.style & 0x1)); // LVS_REPORT shows its header
        return list;
    }
    case PreviewControlKind::Tab:
        return new QTabWidget(parent);
    case PreviewControlKind::Animate:
        return new QLabel(parent);
    case PreviewControlKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        bar->setValue(0);
        return bar;
    }
    case PreviewControlKind::Slider:
        return new QSlider(control.style & 0x2 ? Qt::Vertical : Qt::Horizontal, parent);
    case PreviewControlKind::Spin: {
        auto* spin = new QSpinBox(parent);
        spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        return spin;
    }
    case PreviewControlKind::ScrollBar:
        // SBS_VERT; a size grip (SBS_SIZEGRIP) is drawn as a small bar too.
        return new QScrollBar(control.style & 0x1 ? Qt::Vertical : Qt::Horizontal, parent);
    }
    return nullptr;
}

void AddEntries(QWidget* menu, const std::vector<PreviewMenuEntry>& entries, bool translated)
{
    for (const PreviewMenuEntry& entry : entries) {
        switch (entry.type) {
        case PreviewMenuEntry::Type::Separator:
            if (auto* m = qobject_cast<QMenu*>(menu))
                m->addSeparator();
            else if (auto* bar = qobject_cast<QMenuBar*>(menu))
                bar->addSeparator();
            break;
        case PreviewMenuEntry::Type::Item: {
            auto* action = new QAction(FromScript(entry.displayText, translated), menu);
            action->setData(entry.index);
            action->setEnabled(!entry.grayed);
            action->setCheckable(entry.checked);
            action->setChecked(entry.checked);
            menu->addAction(action);
            break;
        }
        case PreviewMenuEntry::Type::Popup: {
            auto* popup = new QMenu(FromScript(entry.displayText, translated), menu);
            AddEntries(popup, entry.popup->entries, translated);
            popup->menuAction()->setEnabled(!entry.grayed);
            menu->addAction(popup->menuAction());
            break;
        }
        }
    }
}

} // namespace

CDlgPreview::CDlgPreview(QWidget* host, const PreviewDialogInfo* owner, bool translatedMode)
    : QWidget(host), m_owner(owner), m_translatedMode(translatedMode)
{
    setObjectName(QStringLiteral("25106"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_client = new PreviewClient(this);
    m_client->setObjectName(QStringLiteral("previewClient"));
}

int CDlgPreview::CaptionHeight() const
{
    return (m_style & kCaption) == kCaption || !m_owner ? QFontMetrics(m_windowFont).height() + 7 : 0;
}

int CDlgPreview::BorderWidth() const
{
    // A dialog frame (DS_MODALFRAME, WS_DLGFRAME, WS_THICKFRAME) or a line.
    if (!m_owner || (m_style & (0x80 | 0x400000 | 0x40000)))
        return 3;
    return (m_style & kBorder) ? 1 : 0;
}

void CDlgPreview::BuildDialog(const Fonts& fonts)
{
    if (!m_owner)
        return;
    m_windowFont = fonts.window;
    m_style = m_owner->style & ~(kVisible | 0x02000000u); // no WS_VISIBLE, no WS_CLIPCHILDREN
    m_caption = FromScript(m_owner->displayCaption, m_translatedMode);
    setFont(fonts.window);
    const QSize base = BaseUnits(fonts.window);
    const QRect client = MapDialogRect(m_owner->rect, base);
    const int border = BorderWidth();
    const int caption = CaptionHeight();
    resize(client.width() + 2 * border, client.height() + 2 * border + caption);
    m_client->setGeometry(border, border + caption, client.width(), client.height());
    m_client->setFont(fonts.window);

    for (const auto& control : m_owner->controls) {
        const QRect r = MapDialogRect(control->rect, base);
        m_pixelRects.insert(control->index, r);
        QWidget* widget = CreateControl(*control, m_translatedMode, m_client);
        if (!widget)
            continue;
        widget->setObjectName(QString::number(control->index));
        widget->setFont(FontForText(control->kind == PreviewControlKind::Edit ? fonts.edits : fonts.controls,
                                    FromScript(control->displayText, m_translatedMode)));
        QRect placed = r;
        if (control->kind == PreviewControlKind::ComboBox) // the rectangle includes the dropped list
            placed.setHeight(std::min(r.height(), widget->sizeHint().height()));
        widget->setGeometry(placed);
        widget->setEnabled(!(control->style & kDisabled));
        widget->setVisible(control->style & kVisible);
        m_widgets.insert(control->index, widget);
    }
}

void CDlgPreview::BuildMenu(const PreviewMenu& menu, const QString& title, const QFont& font)
{
    m_windowFont = font;
    m_caption = title;
    setFont(font);
    m_menuBar = new QMenuBar(m_client);
    m_menuBar->setNativeMenuBar(false);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    AddEntries(m_menuBar, menu.Bar(), m_translatedMode);
    // Template 25106: 401 by 15 dialog units, the menu bar above.
    const QSize base = BaseUnits(font);
    const int width = 401 * base.width() / 4;
    const int barHeight = m_menuBar->heightForWidth(width) > 0 ? m_menuBar->heightForWidth(width)
                                                               : m_menuBar->sizeHint().height();
    const int border = BorderWidth();
    const int caption = CaptionHeight();
    const int clientHeight = barHeight + 15 * base.height() / 8;
    resize(width + 2 * border, clientHeight + 2 * border + caption);
    m_client->setGeometry(border, border + caption, width, clientHeight);
    m_menuBar->setGeometry(0, 0, width, barHeight);
}

QRect CDlgPreview::PixelRect(int index) const
{
    return m_pixelRects.value(index);
}

std::vector<CDlgPreview::Frame> CDlgPreview::Frames() const
{
    std::vector<Frame> frames;
    if (!m_translatedMode || !m_showRectangles || !m_owner)
        return frames;
    // Too long is what Check says is too long: the same texts, font and
    // measure, whatever font this preview draws with.
    PreviewFitMeasure measure;
    const std::vector<int> tooLarge = measure.TooLarge(*m_owner);
    for (const auto& control : m_owner->controls) {
        if (!HasFramedText(*control))
            continue;
        const QRect pixels = m_pixelRects.value(control->index);
        QRect r = pixels.adjusted(-1, -1, 1, 1);
        if (control->kind == PreviewControlKind::Frame)
            r.setBottom(r.top() + 18);
        if (!control->translated) {
            frames.push_back({control->index, r, false});
            continue;
        }
        if (std::find(tooLarge.begin(), tooLarge.end(), control->index) != tooLarge.end())
            frames.push_back({control->index, r, true});
    }
    return frames;
}

void CDlgPreview::PaintRectangles(QPainter& painter) const
{
    const QColor face = palette().color(QPalette::Window);
    for (const Frame& frame : Frames()) {
        painter.setPen(QPen(frame.tooLong ? QColor(Qt::white) : FromColorRef(m_rectangleColour), 1));
        painter.setBrush(face);
        painter.drawRect(frame.rect.adjusted(0, 0, -1, -1));
    }
}

void CDlgPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette pal = palette();
    const int border = BorderWidth();
    // The frame of a dialog window, raised.
    painter.fillRect(rect(), pal.color(QPalette::Window));
    if (border > 0) {
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(pal.color(QPalette::Shadow));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    }
    const int caption = CaptionHeight();
    if (caption > 0) {
        const QRect bar(border, border, width() - 2 * border, caption - 1);
        QLinearGradient gradient(bar.topLeft(), bar.topRight());
        gradient.setColorAt(0, QColor(10, 36, 106));
        gradient.setColorAt(1, QColor(166, 202, 240));
        painter.fillRect(bar, gradient);
        QFont bold = FontForText(m_windowFont, m_caption);
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(Qt::white);
        painter.drawText(bar.adjusted(4, 0, -20, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         QFontMetrics(bold).elidedText(m_caption, Qt::ElideRight, bar.width() - 24));
        // The close box, which only a window with a system menu has.
        if ((m_style & kSysMenu) || !m_owner) {
            const QRect close(bar.right() - bar.height() + 2, bar.top() + 2, bar.height() - 4,
                              bar.height() - 4);
            painter.fillRect(close, pal.color(QPalette::Button));
            painter.setPen(pal.color(QPalette::ButtonText));
            painter.drawLine(close.topLeft() + QPoint(3, 3), close.bottomRight() - QPoint(3, 3));
            painter.drawLine(close.topRight() + QPoint(-3, 3), close.bottomLeft() + QPoint(3, -3));
        }
    }
}
