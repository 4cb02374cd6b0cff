#pragma once

#include <QWidget>

class CResTreeCtrl;
class CTrelvarDoc;

/// The left pane: the resource tree over the whole view.
class CFvTree : public QWidget
{
    Q_OBJECT
public:
    explicit CFvTree(QWidget* parent = nullptr);

    CResTreeCtrl* Tree() const { return m_tree; }
    /// The document changed: the tree takes its scripts and is rebuilt,
    /// previews shown on the original tab's terms.
    void OnUpdate(CTrelvarDoc* document, QWidget* host);

private:
    CResTreeCtrl* m_tree;
};
