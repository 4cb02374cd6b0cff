#include "tessary/TessaryStrings.h"

#include <QLocale>

namespace TessaryStrings {

namespace {

struct Entry
{
    int id;
    const char* english;
    const char* french;
    const char* german;
};

// UTF-8 texts.
constexpr Entry kStrings[] = {
    {40004, "&Ok", "&Ok", "&Ok"},
    {40005, "&Cancel", "&Annuler", "&Abbrechen"},
    {40006, "&Abort", "A&bandonner", "Ab&brechen"},
    {40007, "&Retry",
     "&R\xC3\xA9"
     "essayer",
     "&Wiederholen"},
    {40008, "&Ignore", "&Ignorer", "&Ignorieren"},
    {40009, "&Yes", "&Oui", "&Ja"},
    {40010, "&No", "&Non", "&Nein"},
    {40011, "Information message", "Message d'information", "Informationsmeldung"},
    {40012, "Internal error message", "Message d'erreur interne", "Interne Fehlermeldung"},
    {40013, "Authorization message", "Message d'autorisation", "Berechtigungsmeldung"},
    {40014, "Warning message", "Message d'avertissement", "Warnmeldung"},
    {40015, "Delete message", "Message de suppression", "L\xC3\xB6schmeldung"},
    {40016, "Close message", "Message de fermeture", "Schlie\xC3\x9Fmeldung"},
    {40017, "%s message", "Message %s", "%s-Meldung"},
    {40021, "Are you sure you want to deinstall this program ?",
     "Voulez-vous vraiment d\xC3\xA9sinstaller ce programme ?",
     "Wollen Sie dieses Programm wirklich deinstallieren ?"},
    {40022, "The remaining files and the directory will be delete next time you restart your machine.",
     "Les fichiers restants et le r\xC3\xA9pertoire seront supprim\xC3\xA9s au prochain red\xC3\xA9marrage.",
     "Die restlichen Dateien und das Verzeichnis werden beim n\xC3\xA4"
     "chsten Neustart gel\xC3\xB6scht."},
    {40023, "Cannot desinstall this program. Close it first !",
     "Impossible de d\xC3\xA9sinstaller ce programme. Fermez-le d'abord !",
     "Das Programm kann nicht deinstalliert werden. Schlie\xC3\x9F"
     "en Sie es zuerst !"},
    {40030, "Don't show this kind of message again.", "Ne plus afficher ce type de message.",
     "Diese Art von Meldung nicht mehr anzeigen."},
    {40031, "No list of installed files was found in %s: nothing was deleted.",
     "Aucune liste des fichiers install\xC3\xA9s dans %s : rien n'a \xC3\xA9t\xC3\xA9 supprim\xC3\xA9.",
     "Keine Liste der installierten Dateien in %s: nichts wurde gel\xC3\xB6scht."},
    {40032, "These files could not be deleted:\n%s",
     "Ces fichiers n'ont pas pu \xC3\xAAtre supprim\xC3\xA9s :\n%s",
     "Diese Dateien konnten nicht gel\xC3\xB6scht werden:\n%s"},
    {40033, "The program has been removed.", "Le programme a \xC3\xA9t\xC3\xA9 supprim\xC3\xA9.",
     "Das Programm wurde entfernt."},
    {40035, "The package manager removes the program. These files it made for you were removed:\n%s",
     "Le gestionnaire de paquets supprime le programme. Ces fichiers cr\xC3\xA9\xC3\xA9s pour vous ont "
     "\xC3\xA9t\xC3\xA9 supprim\xC3\xA9s :\n%s",
     "Der Paketmanager entfernt das Programm. Diese f\xC3\xBCr Sie angelegten Dateien wurden "
     "gel\xC3\xB6scht:\n%s"},
    {40034, "Couldn't open or write into Log File !",
     "Impossible d'ouvrir ou d'\xC3\xA9"
     "crire le journal !",
     "Die Protokolldatei kann nicht ge\xC3\xB6"
     "ffnet oder beschrieben werden !"},
    {40080, "Welcome to %s", "Bienvenue dans %s", "Willkommen bei %s"},
    {40081, "This dialog is only displayed the first time you launch %s.",
     "Cette fen\xC3\xAAtre n'appara\xC3\xAEt qu'au premier lancement de %s.",
     "Dieses Fenster erscheint nur beim ersten Start von %s."},
    {40082, "Continue...", "Continuer...", "Weiter..."},
    {40083, "&About...", "\xC3\x80 &propos...",
     "\xC3\x9C&"
     "ber..."},
    {40084, "Yes &All", "Oui pour &tous", "Ja f\xC3\xBCr &alle"},
    {40085, "No A&ll", "Non pour t&ous", "Nein f\xC3\xBCr a&lle"},
    {40086, "&Web site", "Site &web", "&Webseite"},
};

bool g_forced = false;
Language g_language = English;

} // namespace

Language CurrentLanguage()
{
    if (g_forced)
        return g_language;
    switch (QLocale::system().language()) {
    case QLocale::French:
        return French;
    case QLocale::German:
        return German;
    default:
        return English;
    }
}

void SetLanguage(Language language)
{
    g_forced = true;
    g_language = language;
}

void UseSystemLanguage()
{
    g_forced = false;
}

QString Load(int id)
{
    const Language language = CurrentLanguage();
    for (const Entry& e : kStrings) {
        if (e.id == id)
            return QString::fromUtf8(language == French   ? e.french
                                     : language == German ? e.german
                                                          : e.english);
    }
    return {};
}

} // namespace TessaryStrings
