#pragma once

#include "preview/model/PreviewDialogInfo.h"

#include <QFont>
#include <QHash>
#include <QWidget>

#include <cstdint>
#include <vector>

class PreviewMenu;
class QMenuBar;

/// A live preview of a dialog, with a real widget for every control, or of
/// a menu, as a small window carrying a real menu bar. In translated mode
/// the dialog frames every text that has no translation in the rectangle
/// colour, and every translation too large for its control in white.
class CDlgPreview : public QWidget
{
    Q_OBJECT
public:
    /// owner: the description the preview shows; null for a menu preview
    /// (which paints no rectangles).
    CDlgPreview(QWidget* host, const PreviewDialogInfo* owner, bool translatedMode);

    void SetShowRectangles(bool show) { m_showRectangles = show; }
    void SetRectangleColor(std::uint32_t colorRef) { m_rectangleColour = colorRef; }

    struct Fonts
    {
        QFont window;   ///< measures dialog units and texts
        QFont controls; ///< of every control
        QFont edits;    ///< of edit controls
    };
    /// Builds the window and its controls from the owner's description.
    void BuildDialog(const Fonts& fonts);
    /// Builds the menu bar window.
    void BuildMenu(const PreviewMenu& menu, const QString& title, const QFont& font);

    QWidget* Client() const { return m_client; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    /// The widget made for the control record of that index.
    QWidget* ControlWidget(int index) const { return m_widgets.value(index); }
    /// The control's rectangle in pixels of the client area.
    QRect PixelRect(int index) const;
    QString Caption() const { return m_caption; }
    bool TranslatedMode() const { return m_translatedMode; }
    /// Where the rectangles are painted (list order): record index, rectangle,
    /// white (too long) or not (untranslated).
    struct Frame
    {
        int index;
        QRect rect;
        bool tooLong;
    };
    std::vector<Frame> Frames() const;
    /// Paints the frames on the client area (under its controls).
    void PaintRectangles(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int CaptionHeight() const;
    int BorderWidth() const;

    const PreviewDialogInfo* m_owner;
    bool m_translatedMode;
    bool m_showRectangles = true;
    std::uint32_t m_rectangleColour = 0x0000FF;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QString m_caption;
    std::uint32_t m_style = 0;
    QFont m_windowFont;
    QHash<int, QWidget*> m_widgets;
    QHash<int, QRect> m_pixelRects;
};
