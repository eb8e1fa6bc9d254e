<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Controller</name>
    <message numerus="yes">
        <source>Import of %1 (%n entries)</source>
        <translation>
            <numerusform>Import of %1 (%n entry)</numerusform>
            <numerusform>Import of %1 (%n entries)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Import of %1 files (%n entries)</source>
        <translation>
            <numerusform>Import of %1 files (%n entry)</numerusform>
            <numerusform>Import of %1 files (%n entries)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LedgerStatusBar</name>
    <message numerus="yes">
        <source>%n lines rejected…</source>
        <translation>
            <numerusform>%n line rejected…</numerusform>
            <numerusform>%n lines rejected…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PeriodTableModel</name>
    <message numerus="yes">
        <source>Entries in %n of the year&apos;s 12 months</source>
        <translation>
            <numerusform>Entries in %n of the year&apos;s 12 months</numerusform>
            <numerusform>Entries in %n of the year&apos;s 12 months</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1
Payment: %2
Deposit: %3
Net: %4
Closing balance: %5
%n entries</source>
        <translation>
            <numerusform>%1
Payment: %2
Deposit: %3
Net: %4
Closing balance: %5
%n entry</numerusform>
            <numerusform>%1
Payment: %2
Deposit: %3
Net: %4
Closing balance: %5
%n entries</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintTexts</name>
    <message numerus="yes">
        <source>%n entries — Payment %1, Deposit %2</source>
        <translation>
            <numerusform>%n entry — Payment %1, Deposit %2</numerusform>
            <numerusform>%n entries — Payment %1, Deposit %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RestoreBackupSheet</name>
    <message numerus="yes">
        <source>%1 — %n entries</source>
        <translation>
            <numerusform>%1 — %n entry</numerusform>
            <numerusform>%1 — %n entries</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message numerus="yes">
        <source>%n gaps in the balances</source>
        <translation>
            <numerusform>%n gap in the balances</numerusform>
            <numerusform>%n gaps in the balances</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries added</source>
        <translation>
            <numerusform>%n entry added</numerusform>
            <numerusform>%n entries added</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n duplicates skipped</source>
        <translation>
            <numerusform>%n duplicate skipped</numerusform>
            <numerusform>%n duplicates skipped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n lines rejected</source>
        <translation>
            <numerusform>%n line rejected</numerusform>
            <numerusform>%n lines rejected</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Closed %n gaps in the balances.</source>
        <translation>
            <numerusform>Closed %n gap in the balances.</numerusform>
            <numerusform>Closed %n gaps in the balances.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n files: %1</source>
        <translation>
            <numerusform>Imported %n file: %1</numerusform>
            <numerusform>Imported %n files: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %1 of %n files: %2</source>
        <translation>
            <numerusform>Imported %1 of %n file: %2</numerusform>
            <numerusform>Imported %1 of %n files: %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete all %n entries of the %1 ledger? Edit › Undo puts them back.</source>
        <translation>
            <numerusform>Delete the only entry of the %1 ledger? Edit › Undo puts it back.</numerusform>
            <numerusform>Delete all %n entries of the %1 ledger? Edit › Undo puts them back.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries · Payment %1 · Deposit %2</source>
        <translation>
            <numerusform>%n entry · Payment %1 · Deposit %2</numerusform>
            <numerusform>%n entries · Payment %1 · Deposit %2</numerusform>
        </translation>
    </message>
</context>
</TS>
