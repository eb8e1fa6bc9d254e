#pragma once

#include <QSettings>
#include <QString>

// Every key Moriva keeps in its settings ($XDG_CONFIG_HOME/Moriva/Moriva.conf), spelled once.
namespace Settings {

inline constexpr char ListOrderKey[] = "MVListOrderRule";
inline constexpr char ListModeKey[] = "MVBankbookTableViewKind";
// The month the monthly list showed at quit (year * 100 + month), where it reopens.
inline constexpr char MonthShown[] = "List/month";
inline constexpr char WindowStyle[] = "MVBankbookWindowStyle";
inline constexpr char CurrentBank[] = "MVCurrentBankKind";
inline constexpr char CheckForUpdatesAtStart[] = "MVCheckLatestVersionAtStartup";
inline constexpr char ExportEncoding[] = "MVExportEncoding";
inline constexpr char MarkerColour[] = "MVItemMakerColor";
inline constexpr char AtmColour[] = "MVATMInfoColor";
inline constexpr char CommissionColour[] = "MVCommissionInfoColor";
inline constexpr char InterestColour[] = "MVInterestInfoColor";
inline constexpr char YahooColour[] = "MVYahooInfoColor";
inline constexpr char ToolbarArrangement[] = "MorivaToolToolbar";
inline constexpr char ToolbarVisible[] = "MorivaToolToolbarVisible";
inline constexpr char WindowGeometry[] = "BankbookWindow/geometry";
inline constexpr char TableColumns[] = "BankbookWindow/columns";
// The Summary's span (0 by month, 1 by year) and range (month keys, -1 the ledger's own end).
inline constexpr char SummarySpan[] = "Summary/span";
inline constexpr char SummaryFrom[] = "Summary/from";
inline constexpr char SummaryTo[] = "Summary/to";
// The folders the Import and Save dialogs were last left in, and the form a list was last saved
// in (0 Moriva's CSV, 1 spreadsheet CSV).
inline constexpr char ImportFolder[] = "Folders/import";
inline constexpr char SaveFolder[] = "Folders/save";
inline constexpr char SaveFormat[] = "Export/format";

inline QString key(const char *name)
{
    return QString::fromLatin1(name);
}

// The user's settings store (organisation and application "Moriva").
inline QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Moriva"),
                     QStringLiteral("Moriva"));
}

} // namespace Settings
