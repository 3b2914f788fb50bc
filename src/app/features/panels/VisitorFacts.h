#pragma once

// What both side panels say about a visitor: where they are, with what,
// for how long, and the page they are on, which opens in the browser only
// when it is a web page.

#include "VisitorRules.h"
#include "records/Records.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class VisitorFacts : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QString country READ country NOTIFY changed)
    Q_PROPERTY(QString returningText READ returningText NOTIFY changed)
    Q_PROPERTY(QString returningSymbol READ returningSymbol NOTIFY changed)
    Q_PROPERTY(QString location READ location NOTIFY changed)
    Q_PROPERTY(QString browser READ browser NOTIFY changed)
    Q_PROPERTY(QString timeOnSite READ timeOnSite NOTIFY changed)
    Q_PROPERTY(QString pages READ pages NOTIFY changed)
    Q_PROPERTY(QString referrerLine READ referrerLine NOTIFY changed)
    Q_PROPERTY(QString pageTitle READ pageTitle NOTIFY changed)
    Q_PROPERTY(QString pageURL READ pageURL NOTIFY changed)
    Q_PROPERTY(bool pageOpens READ pageOpens NOTIFY changed)

public:
    VisitorFacts(AppState* state, visitors::Panel panel, QObject* parent);

    QString country() const { return m_visitor.country.value_or(QString()); }
    QString returningText() const { return visitors::returning(m_visitor); }
    QString returningSymbol() const { return visitors::returningSymbol(m_visitor); }
    QString location() const { return visitors::location(m_visitor, m_panel); }
    QString browser() const { return visitors::browser(m_visitor); }
    QString timeOnSite() const { return visitors::timeOnSite(m_visitor.timeOnSiteSeconds); }
    QString pages() const { return visitors::pagesThisSession(m_visitor); }
    QString referrerLine() const { return visitors::referrerLine(m_visitor, m_panel); }
    QString pageTitle() const { return m_visitor.pageTitle.value_or(QStringLiteral("—")); }
    QString pageURL() const { return m_visitor.pageURL; }
    bool pageOpens() const;

    // Opens the visitor's page in the browser, when it is a web page.
    Q_INVOKABLE void openPage();

signals:
    void changed();

protected:
    AppState* m_state;
    Visitor m_visitor;

private:
    visitors::Panel m_panel;
};

} // namespace kv
