#include "SampleProject.h"

#include <iterator>

#include "SyntheticProject.h"

namespace SampleProject {

namespace {

const int Strings = 300;

const char *const Languages[] = {
    "af", "am", "ar", "be", "bg", "bn-rBD", "ca", "cs", "cy", "da", "de", "el", "en-rGB", "eo", "es", "et", "eu", "fa",
    "fi", "fil", "fr", "ga", "gl", "hi", "hr", "hu", "in", "is", "it", "iw", "ja", "ko", "lt", "lv", "mk", "ml", "ms",
    "nb", "ne", "nl", "nn", "pl", "pt", "pt-rBR", "pt-rPT", "ro", "ru", "si", "sk", "sl", "sq", "sr", "sv", "sw",
    "tr", "uk",
};

// The app's name where a language has it; the others have not translated it yet.
QByteArray AppLabel(const QByteArray &language)
{
    if (language == "de")
        return "\"Kalender\"";
    if (language == "fr")
        return "Calendrier";
    if (language == "es")
        return "Calendario";
    if (language.startsWith("pt"))
        return "Calendário";
    return {};
}

// Puts `strings` first below the root element of a strings file.
QByteArray WithFirst(QByteArray file, const QByteArray &strings)
{
    const qsizetype root = file.indexOf("<resources");
    return file.insert(file.indexOf('\n', root) + 1, strings);
}

struct TMenuItem
{
    const char *Id;
    const char *Title;
    const char *Icon; // nullptr: none
};

QByteArray Menu(const QList<TMenuItem> &items, const QByteArray &group)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\"\n"
                     "    xmlns:app=\"http://schemas.android.com/apk/res-auto\">\n";
    if (!group.isEmpty())
        xml += "    <group android:checkableBehavior=\"" + group + "\">\n";
    const QByteArray indent = group.isEmpty() ? "    " : "        ";
    for (const TMenuItem &item : items) {
        xml += indent + "<item\n" + indent + "    android:id=\"@+id/" + item.Id + "\"\n";
        if (item.Icon)
            xml += indent + "    android:icon=\"@drawable/" + item.Icon + "\"\n";
        xml += indent + "    android:title=\"" + item.Title + "\"\n" + indent + "    app:showAsAction=\"ifRoom\" />\n";
    }
    if (!group.isEmpty())
        xml += "    </group>\n";
    return xml + "</menu>\n";
}

QMap<QString, QByteArray> MakeFiles()
{
    QMap<QString, QByteArray> files;
    files["AndroidManifest.xml"] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                   "<!-- A calendar app, written by the tests -->\n"
                                   "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\"\n"
                                   "    package=\"" + Package().toUtf8() + "\">\n"
                                   "    <application android:label=\"@string/app_label\" />\n"
                                   "</manifest>\n";
    files["res/values/strings.xml"] = WithFirst(SyntheticProject::DefaultStrings(Strings),
                                                "    <!-- The app's name under its icon -->\n"
                                                "    <string name=\"standalone_app_label\" translatable=\"false\">Sample</string>\n"
                                                "    <string name=\"app_label\">Calendar</string>\n");
    for (int l = 0; l < int(std::size(Languages)); ++l) {
        const QByteArray label = AppLabel(Languages[l]);
        // Apostrophes escaped, as aapt wants them.
        files["res/values-" + QString::fromLatin1(Languages[l]) + "/strings.xml"] =
            WithFirst(SyntheticProject::LanguageStrings(Strings, l).replace("'", "\\'"),
                      label.isEmpty() ? QByteArray() : "    <string name=\"app_label\">" + label + "</string>\n");
    }
    // Qualifiers that name no language.
    files["res/values-v29/strings.xml"] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n"
                                          "    <string name=\"s1\">Text number 1 on newer systems</string>\n</resources>\n";
    files["res/values-land/strings.xml"] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n"
                                           "    <string name=\"s2\">Text number 2 across</string>\n</resources>\n";

    const QByteArray titleBar = Menu({{"action_today", "Today", "ic_today"},
                                      {"action_create_event", "New event", "ic_add"},
                                      {"action_refresh", "Refresh", nullptr},
                                      {"action_search", "Search", "ic_search"},
                                      {"action_settings", "Settings", nullptr},
                                      {"action_about", "@string/app_label", nullptr}},
                                     {});
    files["res/menu/all_in_one_title_bar.xml"] = titleBar;
    files["res/menu-land/all_in_one_title_bar.xml"] = titleBar;
    files["res/menu-sw600dp-land/all_in_one_title_bar.xml"] = titleBar;
    files["res/menu/calendar_view.xml"] = Menu({{"day_menu_item", "Day", "ic_view_day"},
                                                {"three_day_menu_item", "3 days", "ic_view_days"},
                                                {"week_menu_item", "Week", "ic_view_week"},
                                                {"month_menu_item", "Month", "ic_view_month"},
                                                {"year_menu_item", "Year", nullptr},
                                                {"agenda_menu_item", "Agenda", "ic_view_agenda"},
                                                {"search_menu_item", "Search", nullptr},
                                                {"settings_menu_item", "Settings", nullptr}},
                                               "single");
    files["res/menu-fr/calendar_view.xml"] = Menu({{"day_menu_item", "Jour", "ic_view_day"},
                                                   {"three_day_menu_item", "3 jours", "ic_view_days"},
                                                   {"week_menu_item", "Semaine", "ic_view_week"},
                                                   {"month_menu_item", "Mois", "ic_view_month"},
                                                   {"year_menu_item", "Année", nullptr},
                                                   {"agenda_menu_item", "Planning", "ic_view_agenda"},
                                                   {"search_menu_item", "Rechercher", nullptr},
                                                   {"settings_menu_item", "Paramètres", nullptr}},
                                                  "single");
    files["res/menu-es/calendar_view.xml"] = Menu({{"day_menu_item", "Día", "ic_view_day"},
                                                   {"three_day_menu_item", "3 días", "ic_view_days"},
                                                   {"week_menu_item", "Semana", "ic_view_week"},
                                                   {"month_menu_item", "Mes", "ic_view_month"},
                                                   {"year_menu_item", "Año", nullptr},
                                                   {"agenda_menu_item", "Agenda", "ic_view_agenda"},
                                                   {"search_menu_item", "Buscar", nullptr},
                                                   {"settings_menu_item", "Ajustes", nullptr}},
                                                  "single");
    files["res/menu/edit_event_title_bar.xml"] = Menu({{"action_done", "Done", "ic_done"},
                                                       {"action_cancel", "Cancel", nullptr}},
                                                      {});
    files["res/menu/event_info_title_bar.xml"] = Menu({{"info_action_edit", "Edit", "ic_edit"},
                                                       {"info_action_delete", "Delete", "ic_delete"},
                                                       {"info_action_share", "Share", nullptr},
                                                       {"info_action_export", "Export", nullptr}},
                                                      {});
    files["res/menu/search_title_bar.xml"] = Menu({{"action_search_go", "Search", "ic_search"},
                                                   {"action_search_today", "Go to today", nullptr}},
                                                  {});
    return files;
}

} // namespace

QString Package()
{
    return QStringLiteral("org.example.calendar");
}

const QMap<QString, QByteArray> &Files()
{
    static const QMap<QString, QByteArray> files = MakeFiles();
    return files;
}

QStringList LanguageFolders()
{
    QStringList folders;
    for (const char *language : Languages)
        folders << QStringLiteral("values-") + QString::fromLatin1(language);
    return folders;
}

bool Write(const QString &Folder, const QStringList &ResFolders)
{
    for (auto it = Files().cbegin(); it != Files().cend(); ++it) {
        const QString folder = it.key().section('/', 1, 1);
        if (it.key().startsWith(QLatin1String("res/")) && !ResFolders.isEmpty() && !ResFolders.contains(folder))
            continue;
        if (!SyntheticProject::WriteBytes(Folder + "/" + it.key(), it.value()))
            return false;
    }
    return true;
}

} // namespace SampleProject
