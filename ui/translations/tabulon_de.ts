<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Tabulon</source>
        <translation>Info über Tabulon</translation>
    </message>
    <message>
        <source>Tabulon Version 1.0</source>
        <translation>Tabulon Version 1.0</translation>
    </message>
    <message>
        <source>Life insurance and pensions</source>
        <translation>Lebensversicherungen und Renten</translation>
    </message>
    <message>
        <source>Licence: GNU GPL version 3 or later</source>
        <translation>Lizenz: GNU GPL Version 3 oder neuer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CDataExchange</name>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>eine ganze Zahl von %1 bis %2</translation>
    </message>
    <message>
        <source>%1: %2 is out of range; please enter %3.</source>
        <translation>%1: %2 liegt außerhalb des zulässigen Bereichs; bitte geben Sie %3 ein.</translation>
    </message>
    <message>
        <source>%1: please enter %2.</source>
        <translation>%1: Bitte geben Sie %2 ein.</translation>
    </message>
    <message>
        <source>a number from %1 to %2 (digits, an optional decimal point, no commas)</source>
        <translation>eine Zahl von %1 bis %2 (Ziffern, wahlweise mit Dezimalpunkt, ohne Kommas)</translation>
    </message>
</context>
<context>
    <name>CDocManager</name>
    <message>
        <source>it is not a plain file</source>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <source>not enough memory for its lines</source>
        <translation>nicht genug Speicher für ihre Zeilen</translation>
    </message>
    <message>
        <source>no file name was given</source>
        <translation>es wurde kein Dateiname angegeben</translation>
    </message>
    <message>
        <source>not enough memory to write it</source>
        <translation>nicht genug Speicher, um sie zu schreiben</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Do&amp;n&apos;t Save</source>
        <translation>&amp;Nicht speichern</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>CInsuranceDialog</name>
    <message>
        <source>Insurance or Endowment Policy</source>
        <translation>Lebensversicherung oder gemischte Versicherung</translation>
    </message>
    <message>
        <source>Whole Life</source>
        <translation>Lebenslange Todesfallversicherung</translation>
    </message>
    <message>
        <source>Term Life</source>
        <translation>Risikolebensversicherung</translation>
    </message>
    <message>
        <source>Term Endowment</source>
        <translation>Gemischte Versicherung</translation>
    </message>
    <message>
        <source>policy amount (program calculates pure annual premium), or</source>
        <translation>Versicherungssumme (Programm berechnet die Netto-Jahresprämie), oder</translation>
    </message>
    <message>
        <source>annual premium (program calculates pure policy amount)</source>
        <translation>Jahresprämie (Programm berechnet die Netto-Versicherungssumme)</translation>
    </message>
</context>
<context>
    <name>CLockKeyPanes</name>
    <message>
        <source>CAP</source>
        <translation>UF</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>RF</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Type of policy</source>
        <translation>&amp;Versicherungsart</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Tabulon...</source>
        <translation>&amp;Info über Tabulon...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Zeigt Programminformationen, Versionsnummer und Copyright an</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Erstellt ein neues Dokument</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open an existing document</source>
        <translation>Öffnet ein vorhandenes Dokument</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save the active document</source>
        <translation>Speichert das aktive Dokument</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save the active document with a new name</source>
        <translation>Speichert das aktive Dokument unter einem neuen Namen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print the active document</source>
        <translation>Druckt das aktive Dokument</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Druck&amp;vorschau</translation>
    </message>
    <message>
        <source>Display full pages</source>
        <translation>Zeigt ganze Seiten an</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>Change the printer and printing options</source>
        <translation>Ändert den Drucker und die Druckoptionen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Beendet die Anwendung; fragt, ob Dokumente gespeichert werden sollen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Macht die letzte Aktion rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>Schneidet die Auswahl aus und legt sie in die Zwischenablage</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>Kopiert die Auswahl in die Zwischenablage</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>Fügt den Inhalt der Zwischenablage ein</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Blendet die Symbolleiste ein oder aus</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Blendet die Statusleiste ein oder aus</translation>
    </message>
    <message>
        <source>&amp;Insurance</source>
        <translation>&amp;Versicherung</translation>
    </message>
    <message>
        <source>Insurance or endowment policy</source>
        <translation>Lebensversicherung oder gemischte Versicherung</translation>
    </message>
    <message>
        <source>&amp;Pension</source>
        <translation>&amp;Rente</translation>
    </message>
    <message>
        <source>Pension (annuity)</source>
        <translation>Rente (Leibrente)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>Zuletzt geöffnete Datei</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>Öffnet dieses Dokument</translation>
    </message>
</context>
<context>
    <name>CPensionDialog</name>
    <message>
        <source>Pension or annuity</source>
        <translation>Rente oder Leibrente</translation>
    </message>
    <message>
        <source>Life Pension</source>
        <translation>Lebenslange Leibrente</translation>
    </message>
    <message>
        <source>Term Annuity</source>
        <translation>Temporäre Leibrente</translation>
    </message>
    <message>
        <source>policy amount (program calculates pure annual payment), or</source>
        <translation>Einmalbetrag (Programm berechnet die jährliche Nettorente), oder</translation>
    </message>
    <message>
        <source>annual payment (program calculates pure policy amount)</source>
        <translation>jährliche Rente (Programm berechnet den Netto-Einmalbetrag)</translation>
    </message>
</context>
<context>
    <name>CPolicyInputDialog</name>
    <message>
        <source>National, Male</source>
        <translation>National, Männer</translation>
    </message>
    <message>
        <source>National, Female</source>
        <translation>National, Frauen</translation>
    </message>
    <message>
        <source>Regional, Male</source>
        <translation>Regional, Männer</translation>
    </message>
    <message>
        <source>Regional, Female</source>
        <translation>Regional, Frauen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select type of policy:</source>
        <translation>Versicherungsart wählen:</translation>
    </message>
    <message>
        <source>Select mortality table:</source>
        <translation>Sterbetafel wählen:</translation>
    </message>
    <message>
        <source>Enter applicant&apos;s age (years):</source>
        <translation>Alter des Antragstellers (Jahre):</translation>
    </message>
    <message>
        <source>Enter term of policy (if appropriate, in years):</source>
        <translation>Laufzeit (falls zutreffend, in Jahren):</translation>
    </message>
    <message>
        <source>Enter discount interest rate (percent):</source>
        <translation>Rechnungszins (Prozent):</translation>
    </message>
    <message>
        <source>Input either:</source>
        <translation>Eingabe entweder:</translation>
    </message>
    <message>
        <source>... and enter amount (do not use commas):</source>
        <translation>... und Betrag eingeben (Dezimalpunkt, kein Komma):</translation>
    </message>
    <message>
        <source>Check if you want the relevant portion of the mortality table and probability distribution of age at death</source>
        <translation>Ankreuzen für den relevanten Teil der Sterbetafel und die Wahrscheinlichkeitsverteilung des Sterbealters</translation>
    </message>
    <message>
        <source>Check if you want the probability distribution of company&apos;s net income</source>
        <translation>Ankreuzen für die Wahrscheinlichkeitsverteilung des Nettoertrags des Versicherers</translation>
    </message>
    <message>
        <source>Applicant&apos;s age</source>
        <translation>Alter des Antragstellers</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Discount interest rate</source>
        <translation>Rechnungszins</translation>
    </message>
    <message>
        <source>Please select a mortality table.</source>
        <translation>Bitte wählen Sie eine Sterbetafel.</translation>
    </message>
    <message>
        <source>Please select a type of policy.</source>
        <translation>Bitte wählen Sie eine Versicherungsart.</translation>
    </message>
    <message>
        <source>Term of policy</source>
        <translation>Laufzeit</translation>
    </message>
</context>
</TS>
