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
    <message>
        <source>Tabulon Version %1</source>
        <translation>Tabulon Version %1</translation>
    </message>
</context>
<context>
    <name>ChartsWindow</name>
    <message>
        <source>it is not a plain file</source>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <source>Charts</source>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Save &amp;Image...</source>
        <translation>Bild &amp;speichern...</translation>
    </message>
    <message>
        <source>Save the charts as a PNG or SVG image</source>
        <translation>Speichert die Diagramme als PNG- oder SVG-Bild</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print the charts</source>
        <translation>Druckt die Diagramme</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Druck&amp;vorschau</translation>
    </message>
    <message>
        <source>Display the charts&apos; page</source>
        <translation>Zeigt die Seite der Diagramme an</translation>
    </message>
    <message>
        <source>No calculation yet</source>
        <translation>Noch keine Berechnung</translation>
    </message>
    <message>
        <source>The charts show a calculation run in this window; the reports of a journal opened from a file are text. Choose Type of policy &gt; Insurance or Pension to run one.</source>
        <translation>Die Diagramme zeigen eine in diesem Fenster ausgeführte Berechnung; die Berichte eines aus einer Datei geöffneten Journals sind Text. Wählen Sie Versicherungsart &gt; Versicherung oder Rente, um eine auszuführen.</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>SVG-Bild (*.svg)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>charts.png</source>
        <translation>diagramme.png</translation>
    </message>
    <message>
        <source>Cannot save the image &quot;%1&quot;: there is no calculation yet.</source>
        <translation>Das Bild „%1“ kann nicht gespeichert werden: Es gibt noch keine Berechnung.</translation>
    </message>
    <message>
        <source>Tabulon charts</source>
        <translation>Tabulon-Diagramme</translation>
    </message>
    <message>
        <source>Cannot save the image &quot;%1&quot;: %2.</source>
        <translation>Das Bild „%1“ kann nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Policy value by duration and survival of a product</source>
        <translation>Deckungskapital nach Dauer und Überleben eines Produkts</translation>
    </message>
</context>
<context>
    <name>ChartsModule</name>
    <message>
        <source>Cannot show the charts: the module &quot;%1&quot; is missing (looked for it as %2).</source>
        <translation>Die Diagramme können nicht angezeigt werden: Das Modul „%1“ fehlt (gesucht als %2).</translation>
    </message>
    <message>
        <source>Cannot show the charts: the module &quot;%1&quot; cannot be loaded: %2.</source>
        <translation>Die Diagramme können nicht angezeigt werden: Das Modul „%1“ kann nicht geladen werden: %2.</translation>
    </message>
</context>
<context>
    <name>ModuleLoader</name>
    <message>
        <source> and </source>
        <translation> und </translation>
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
        <source>An earlier save of &quot;%1&quot; was interrupted while it rewrote the file; Tabulon completed it from the recovery copy &quot;%2&quot;.</source>
        <translation>Ein früheres Speichern von „%1“ wurde unterbrochen, während es die Datei neu schrieb; Tabulon hat es mit der Wiederherstellungskopie „%2“ abgeschlossen.</translation>
    </message>
    <message>
        <source>An earlier save of &quot;%1&quot; was interrupted before it changed the file; the file is as it was, and the recovery copy &quot;%2&quot; was removed.</source>
        <translation>Ein früheres Speichern von „%1“ wurde unterbrochen, bevor es die Datei änderte; die Datei ist unverändert, und die Wiederherstellungskopie „%2“ wurde entfernt.</translation>
    </message>
    <message>
        <source>another program changed it</source>
        <translation>ein anderes Programm hat sie geändert</translation>
    </message>
    <message>
        <source>it is larger than 16 MB, more than a table file holds</source>
        <translation>sie ist größer als 16 MB, mehr als eine Tafeldatei enthält</translation>
    </message>
    <message>
        <source>; the file is unchanged</source>
        <translation>; die Datei ist unverändert</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht geschrieben werden: %2.</translation>
    </message>
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
    <message>
        <source>it is not a journal (it holds NUL bytes)</source>
        <translation>es ist kein Journal (es enthält NUL-Bytes)</translation>
    </message>
    <message>
        <source>another program replaced it</source>
        <translation>ein anderes Programm hat sie ersetzt</translation>
    </message>
    <message>
        <source>another program keeps replacing it</source>
        <translation>ein anderes Programm ersetzt sie fortwährend</translation>
    </message>
    <message>
        <source>another program holds it locked</source>
        <translation>ein anderes Programm hält sie gesperrt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program since Tabulon opened or saved it. Overwriting it loses those changes.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, seit Tabulon die Datei geöffnet oder gespeichert hat. Wenn Sie sie überschreiben, gehen diese Änderungen verloren.</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Über&amp;schreiben</translation>
    </message>
</context>
<context>
    <name>CInsuranceDialog</name>
    <message>
        <source>Insurance or Endowment Policy</source>
        <translation>Lebensversicherung oder gemischte Versicherung</translation>
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
    <name>LifeCharts</name>
    <message>
        <source>Whole life insurance</source>
        <translation>Lebenslange Todesfallversicherung</translation>
    </message>
    <message>
        <source>Term life insurance</source>
        <translation>Risikolebensversicherung</translation>
    </message>
    <message>
        <source>Endowment</source>
        <translation>Gemischte Versicherung</translation>
    </message>
    <message>
        <source>Life annuity</source>
        <translation>Lebenslange Leibrente</translation>
    </message>
    <message>
        <source>Term annuity</source>
        <translation>Temporäre Leibrente</translation>
    </message>
    <message>
        <source>National, male</source>
        <translation>National, Männer</translation>
    </message>
    <message>
        <source>National, female</source>
        <translation>National, Frauen</translation>
    </message>
    <message>
        <source>Regional, male</source>
        <translation>Regional, Männer</translation>
    </message>
    <message>
        <source>Regional, female</source>
        <translation>Regional, Frauen</translation>
    </message>
    <message>
        <source>not defined</source>
        <translation>nicht definiert</translation>
    </message>
    <message>
        <source>age %1</source>
        <translation>Alter %1</translation>
    </message>
    <message>
        <source>ages %1 to %2</source>
        <translation>Alter %1 bis %2</translation>
    </message>
    <message>
        <source>%1 ages from %2 to %3</source>
        <translation>%1 Altersstufen von %2 bis %3</translation>
    </message>
    <message>
        <source>Not defined at %1: left out.</source>
        <translation>Nicht definiert bei %1: ausgelassen.</translation>
    </message>
    <message>
        <source>Age (years)</source>
        <translation>Alter (Jahre)</translation>
    </message>
    <message>
        <source>Number living (persons)</source>
        <translation>Lebende (Personen)</translation>
    </message>
    <message>
        <source>Number living</source>
        <translation>Lebende</translation>
    </message>
    <message>
        <source>Age %1: %2 living</source>
        <translation>Alter %1: %2 Lebende</translation>
    </message>
    <message>
        <source>Age at death (years)</source>
        <translation>Sterbealter (Jahre)</translation>
    </message>
    <message>
        <source>Probability (0 to 1)</source>
        <translation>Wahrscheinlichkeit</translation>
    </message>
    <message>
        <source>± 1 standard deviation</source>
        <translation>± 1 Standardabweichung</translation>
    </message>
    <message>
        <source>One standard deviation either side of the mean: %1 to %2 years</source>
        <translation>Eine Standardabweichung um den Mittelwert: %1 bis %2 Jahre</translation>
    </message>
    <message>
        <source>Probability of death</source>
        <translation>Sterbewahrscheinlichkeit</translation>
    </message>
    <message>
        <source>Age %1: probability of death %2</source>
        <translation>Alter %1: Sterbewahrscheinlichkeit %2</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>Mean age at death: %1 years; standard deviation %2 years</source>
        <translation>Mittleres Sterbealter: %1 Jahre; Standardabweichung %2 Jahre</translation>
    </message>
    <message>
        <source>Net income (currency)</source>
        <translation>Nettoertrag (Währung)</translation>
    </message>
    <message>
        <source>Expected discounted net income: %1</source>
        <translation>Erwarteter diskontierter Nettoertrag: %1</translation>
    </message>
    <message>
        <source>Death at age %1: %2 net income %3</source>
        <translation>Tod im Alter %1: %2 Nettoertrag %3</translation>
    </message>
    <message>
        <source>discounted</source>
        <translation>diskontierter</translation>
    </message>
    <message>
        <source>undiscounted</source>
        <translation>nicht diskontierter</translation>
    </message>
    <message>
        <source>Undiscounted</source>
        <translation>Nicht diskontiert</translation>
    </message>
    <message>
        <source>Discounted</source>
        <translation>Diskontiert</translation>
    </message>
    <message>
        <source>Alive at %1: %2 net income %3</source>
        <translation>Mit %1 am Leben: %2 Nettoertrag %3</translation>
    </message>
    <message>
        <source>, term 1 year</source>
        <translation>, Laufzeit 1 Jahr</translation>
    </message>
    <message>
        <source>, term %1 years</source>
        <translation>, Laufzeit %1 Jahre</translation>
    </message>
    <message>
        <source>%1, %2 table</source>
        <translation>%1, Tafel %2</translation>
    </message>
    <message>
        <source>, rate %1%</source>
        <translation>, Zins %1 %</translation>
    </message>
    <message>
        <source>Number living l(x)</source>
        <translation>Lebende l(x)</translation>
    </message>
    <message>
        <source>mean age at death %1, standard deviation %2</source>
        <translation>mittleres Sterbealter %1, Standardabweichung %2</translation>
    </message>
    <message>
        <source>The mean age at death and its standard deviation are not defined.</source>
        <translation>Das mittlere Sterbealter und seine Standardabweichung sind nicht definiert.</translation>
    </message>
    <message>
        <source>%1+ undiscounted</source>
        <translation>%1+ nicht diskontiert</translation>
    </message>
    <message>
        <source>%1+ discounted</source>
        <translation>%1+ diskontiert</translation>
    </message>
    <message>
        <source>EDNI %1</source>
        <translation>EDNI %1</translation>
    </message>
    <message>
        <source>The expected discounted net income is not defined.</source>
        <translation>Der erwartete diskontierte Nettoertrag ist nicht definiert.</translation>
    </message>
    <message>
        <source>amount %1, annual payment %2</source>
        <translation>Betrag %1, jährliche Rente %2</translation>
    </message>
    <message>
        <source>amount %1, annual premium %2</source>
        <translation>Summe %1, Jahresprämie %2</translation>
    </message>
    <message>
        <source>Net income by age at death</source>
        <translation>Nettoertrag nach Sterbealter</translation>
    </message>
    <message>
        <source>Distribution of the age at death</source>
        <translation>Verteilung des Sterbealters</translation>
    </message>
</context>
<context>
    <name>LockKeyPanes</name>
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
        <source>P&amp;roduct...</source>
        <translation>&amp;Produkt...</translation>
    </message>
    <message>
        <source>A product of benefit legs: cover, endowments and annuities</source>
        <translation>Ein Produkt aus Leistungsbausteinen: Todesfallschutz, Erlebensfall und Renten</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <source>Net annual premium: %1</source>
        <translation>Netto-Jahresprämie: %1</translation>
    </message>
    <message>
        <source>Net single premium: %1</source>
        <translation>Netto-Einmalprämie: %1</translation>
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
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>Select the entire document</source>
        <translation>Markiert das gesamte Dokument</translation>
    </message>
    <message>
        <source>&amp;Charts</source>
        <translation>&amp;Diagramme</translation>
    </message>
    <message>
        <source>Show or hide the charts of the last calculation</source>
        <translation>Blendet die Diagramme der letzten Berechnung ein oder aus</translation>
    </message>
    <message>
        <source>Charts</source>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>T&amp;ables</source>
        <translation>&amp;Tafeln</translation>
    </message>
    <message>
        <source>&amp;Import Table...</source>
        <translation>Tafel &amp;importieren...</translation>
    </message>
    <message>
        <source>Read a mortality table from a CSV or XTbML file</source>
        <translation>Liest eine Sterbetafel aus einer CSV- oder XTbML-Datei</translation>
    </message>
    <message>
        <source>&amp;Remove Table...</source>
        <translation>Tafel &amp;entfernen...</translation>
    </message>
    <message>
        <source>Remove an imported mortality table</source>
        <translation>Entfernt eine importierte Sterbetafel</translation>
    </message>
    <message>
        <source>Import Table</source>
        <translation>Tafel importieren</translation>
    </message>
    <message>
        <source>Mortality tables (*.csv *.xml)</source>
        <translation>Sterbetafeln (*.csv *.xml)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>XTbML (*.xml)</source>
        <translation>XTbML (*.xml)</translation>
    </message>
    <message>
        <source>Remove Table</source>
        <translation>Tafel entfernen</translation>
    </message>
    <message>
        <source>Imported table to remove:</source>
        <translation>Zu entfernende importierte Tafel:</translation>
    </message>
    <message>
        <source>Imported the table &quot;%1&quot;; the dialogs list it after the built-in tables.</source>
        <translation>Die Tafel „%1“ ist importiert; die Dialoge führen sie nach den eingebauten Tafeln auf.</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; in &quot;%2&quot; is imported already; nothing was added.</source>
        <translation>Die Tafel „%1“ aus „%2“ ist bereits importiert; es wurde nichts hinzugefügt.</translation>
    </message>
    <message>
        <source>Remove the table &quot;%1&quot;? Its copy in the data folder is deleted; the journal keeps its reports.</source>
        <translation>Die Tafel „%1“ entfernen? Ihre Kopie im Datenordner wird gelöscht; das Journal behält seine Berichte.</translation>
    </message>
    <message>
        <source>Removed the table &quot;%1&quot;.</source>
        <translation>Die Tafel „%1“ ist entfernt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds a mortality table.</source>
        <translation>„%1“ enthält eine Sterbetafel.</translation>
    </message>
    <message>
        <source>Import it as a table for the dialogs, or open it as text in the journal?</source>
        <translation>Als Tafel für die Dialoge importieren oder als Text im Journal öffnen?</translation>
    </message>
    <message>
        <source>Import as a table</source>
        <translation>Als Tafel importieren</translation>
    </message>
    <message>
        <source>Open as journal text</source>
        <translation>Als Journaltext öffnen</translation>
    </message>
    <message>
        <source>Policy amount: %1</source>
        <comment>the single amount of a pension</comment>
        <translation>Einmalbetrag: %1</translation>
    </message>
    <message>
        <source>Policy amount: %1</source>
        <translation>Versicherungssumme: %1</translation>
    </message>
    <message>
        <source>Annual payment: %1</source>
        <translation>Jährliche Rente: %1</translation>
    </message>
    <message>
        <source>Annual premium: %1</source>
        <translation>Jahresprämie: %1</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find text in the journal</source>
        <translation>Sucht einen Text im Journal</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find the next line that holds the text</source>
        <translation>Sucht die nächste Zeile, die den Text enthält</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>Rückwärts s&amp;uchen</translation>
    </message>
    <message>
        <source>Find the previous line that holds the text</source>
        <translation>Sucht die vorige Zeile, die den Text enthält</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Show the journal larger</source>
        <translation>Zeigt das Journal größer an</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Show the journal smaller</source>
        <translation>Zeigt das Journal kleiner an</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>Show the journal at its actual size</source>
        <translation>Zeigt das Journal in seiner Originalgröße an</translation>
    </message>
    <message>
        <source>Insurance</source>
        <translation>Versicherung</translation>
    </message>
    <message>
        <source>Pension</source>
        <translation>Rente</translation>
    </message>
    <message>
        <source>The figure the last calculation solved for</source>
        <translation>Der Wert, den die letzte Berechnung ermittelt hat</translation>
    </message>
    <message>
        <source>Net annual premium: %1, gross: %2</source>
        <translation>Netto-Jahresprämie: %1, brutto: %2</translation>
    </message>
    <message>
        <source>Net single premium: %1, gross: %2</source>
        <translation>Netto-Einmalprämie: %1, brutto: %2</translation>
    </message>
</context>
<context>
    <name>CPensionDialog</name>
    <message>
        <source>Pension or annuity</source>
        <translation>Rente oder Leibrente</translation>
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
    <name>PolicyInputDialog</name>
    <message>
        <source>%1
Ages %2 to %3</source>
        <translation>%1
Alter %2 bis %3</translation>
    </message>
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
        <source>Life Pension</source>
        <translation>Lebenslange Leibrente</translation>
    </message>
    <message>
        <source>Term Annuity</source>
        <translation>Temporäre Leibrente</translation>
    </message>
</context>
<context>
    <name>PrintCommands</name>
    <message>
        <source>Cannot print: the module &quot;%1&quot; is missing (looked for it as %2).</source>
        <translation>Drucken ist nicht möglich: Das Modul „%1“ fehlt (gesucht als %2).</translation>
    </message>
    <message>
        <source>Cannot print: the module &quot;%1&quot; cannot be loaded: %2.</source>
        <translation>Drucken ist nicht möglich: Das Modul „%1“ kann nicht geladen werden: %2.</translation>
    </message>
    <message>
        <source>Printing page %1 of %2...</source>
        <translation>Seite %1 von %2 wird gedruckt...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>&amp;Page Setup...</source>
        <translation>&amp;Seite einrichten...</translation>
    </message>
    <message>
        <source>&amp;Printer:</source>
        <translation>&amp;Drucker:</translation>
    </message>
    <message>
        <source>No printer is installed; Print can still write a PDF file.</source>
        <translation>Es ist kein Drucker installiert; Drucken kann trotzdem eine PDF-Datei schreiben.</translation>
    </message>
</context>
<context>
    <name>PrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Fit Width</source>
        <translation>&amp;Seitenbreite</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Sch&amp;ließen</translation>
    </message>
    <message>
        <source>Pa&amp;ge</source>
        <translation>Seit&amp;e</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>von %1</translation>
    </message>
</context>
<context>
    <name>CTabulonApp</name>
    <message>
        <source>These imported tables were skipped:</source>
        <translation>Diese importierten Tafeln wurden übersprungen:</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file &quot;%1&quot; is not a plain file; Tabulon goes on without reading or writing settings, so the recent-file list is not kept.</source>
        <translation>Die Einstellungsdatei „%1“ ist keine normale Datei; Tabulon arbeitet ohne Einstellungen weiter, daher wird die Liste der zuletzt geöffneten Dateien nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>imported_tables</name>
    <message>
        <source>Cannot create the folder &quot;%1&quot;.</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot copy &quot;%1&quot; to &quot;%2&quot;: %3.</source>
        <translation>„%1“ kann nicht nach „%2“ kopiert werden: %3.</translation>
    </message>
    <message>
        <source>Cannot remove &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht entfernt werden: %2.</translation>
    </message>
    <message>
        <source>%1 (select and ultimate, %2 years)</source>
        <translation>%1 (Selektions- und Schlusstafel, %2 Jahre)</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fin&amp;d:</source>
        <translation>S&amp;uchen:</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>Find the next match (F3)</source>
        <translation>Nächste Fundstelle suchen (F3)</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Find the previous match (Shift+F3)</source>
        <translation>Vorige Fundstelle suchen (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation>Suchleiste schließen (Esc)</translation>
    </message>
    <message>
        <source>Not found: &quot;%1&quot;</source>
        <translation>Nicht gefunden: „%1“</translation>
    </message>
    <message>
        <source>Passed the end of the journal; continued from the top.</source>
        <translation>Ende des Journals erreicht; die Suche ging am Anfang weiter.</translation>
    </message>
    <message>
        <source>Passed the top of the journal; continued from the end.</source>
        <translation>Anfang des Journals erreicht; die Suche ging am Ende weiter.</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
</context>
<context>
    <name>ProductDialog</name>
    <message>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <source>Mortality table:</source>
        <translation>Sterbetafel:</translation>
    </message>
    <message>
        <source>Age at issue (years):</source>
        <translation>Eintrittsalter (Jahre):</translation>
    </message>
    <message>
        <source>Interest rate (percent):</source>
        <translation>Rechnungszins (Prozent):</translation>
    </message>
    <message>
        <source>Fractional ages:</source>
        <translation>Unterjährigkeit:</translation>
    </message>
    <message>
        <source>udd (uniform distribution of deaths)</source>
        <translation>udd (Gleichverteilung der Todesfälle)</translation>
    </message>
    <message>
        <source>woolhouse2 (Woolhouse, two terms)</source>
        <translation>woolhouse2 (Woolhouse, zwei Glieder)</translation>
    </message>
    <message>
        <source>woolhouse3 (Woolhouse, three terms)</source>
        <translation>woolhouse3 (Woolhouse, drei Glieder)</translation>
    </message>
    <message>
        <source>Benefits</source>
        <translation>Leistungen</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Term</source>
        <translation>Laufzeit</translation>
    </message>
    <message>
        <source>Deferral</source>
        <translation>Aufschub</translation>
    </message>
    <message>
        <source>Timing</source>
        <translation>Zahlung</translation>
    </message>
    <message>
        <source>Payments</source>
        <translation>Zahlweise</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Term and deferral in years from the leg's start and from issue; an annuity's term 0 pays for life. An annuity's amount is a year's, paid in equal parts.</source>
        <translation>Laufzeit in Jahren ab Beginn der Leistung, Aufschub in Jahren ab Abschluss; eine Rente mit Laufzeit 0 wird lebenslang gezahlt. Der Betrag einer Rente gilt für ein Jahr und wird in gleichen Teilen gezahlt.</translation>
    </message>
    <message>
        <source>Premiums</source>
        <translation>Prämien</translation>
    </message>
    <message>
        <source>Single premium at issue</source>
        <translation>Einmalprämie bei Abschluss</translation>
    </message>
    <message>
        <source>Level premiums for (years):</source>
        <translation>Laufende Prämien für (Jahre):</translation>
    </message>
    <message>
        <source>Level premiums for life</source>
        <translation>Laufende Prämien lebenslang</translation>
    </message>
    <message>
        <source>paid:</source>
        <translation>zahlbar:</translation>
    </message>
    <message>
        <source>Solve for the premium</source>
        <translation>Prämie berechnen</translation>
    </message>
    <message>
        <source>Annual premium given (for policy values):</source>
        <translation>Jahresprämie vorgegeben (für das Deckungskapital):</translation>
    </message>
    <message>
        <source>Check if you want the policy value at every duration</source>
        <translation>Ankreuzen, wenn Sie das Deckungskapital zu jeder Dauer wünschen</translation>
    </message>
    <message>
        <source>Check if you want the distribution of the present values (second moment and standard deviations)</source>
        <translation>Ankreuzen, wenn Sie die Verteilung der Barwerte wünschen (zweites Moment und Standardabweichungen)</translation>
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
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Half-yearly</source>
        <translation>Halbjährlich</translation>
    </message>
    <message>
        <source>Quarterly</source>
        <translation>Vierteljährlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Whole life</source>
        <translation>Todesfall, lebenslang</translation>
    </message>
    <message>
        <source>Term</source>
        <comment>kind of benefit</comment>
        <translation>Todesfall, temporär</translation>
    </message>
    <message>
        <source>Endowment</source>
        <translation>Gemischte Versicherung</translation>
    </message>
    <message>
        <source>Pure endowment</source>
        <translation>Erlebensfall</translation>
    </message>
    <message>
        <source>Annuity</source>
        <translation>Rente</translation>
    </message>
    <message>
        <source>In advance</source>
        <translation>Vorschüssig</translation>
    </message>
    <message>
        <source>In arrears</source>
        <translation>Nachschüssig</translation>
    </message>
    <message>
        <source>a number from 0 to %1 with at most %2 decimals</source>
        <translation>eine Zahl von 0 bis %1 mit höchstens %2 Nachkommastellen</translation>
    </message>
    <message>
        <source>a number of 0 or more (digits, an optional decimal point, no commas)</source>
        <translation>eine Zahl ab 0 (Ziffern, wahlweise ein Dezimalpunkt, keine Kommas)</translation>
    </message>
    <message>
        <source>%1: please enter %2.</source>
        <translation>%1: Bitte geben Sie %2 ein.</translation>
    </message>
    <message>
        <source>Please select a mortality table.</source>
        <translation>Bitte wählen Sie eine Sterbetafel.</translation>
    </message>
    <message>
        <source>Age at issue</source>
        <translation>Eintrittsalter</translation>
    </message>
    <message>
        <source>Interest rate</source>
        <translation>Rechnungszins</translation>
    </message>
    <message>
        <source>Benefit %1, amount</source>
        <translation>Leistung %1, Betrag</translation>
    </message>
    <message>
        <source>Benefit %1, term</source>
        <translation>Leistung %1, Laufzeit</translation>
    </message>
    <message>
        <source>Benefit %1, deferral</source>
        <translation>Leistung %1, Aufschub</translation>
    </message>
    <message>
        <source>Premium term</source>
        <translation>Prämiendauer</translation>
    </message>
    <message>
        <source>Annual premium</source>
        <translation>Jahresprämie</translation>
    </message>
    <message>
        <source>Mortality table</source>
        <translation>Sterbetafel</translation>
    </message>
    <message>
        <source>Benefit %1</source>
        <translation>Leistung %1</translation>
    </message>
    <message>
        <source>Premium frequency</source>
        <translation>Prämienzahlweise</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>&amp;Select (newly underwritten life)</source>
        <translation>&amp;Selektion (neu gezeichnetes Leben)</translation>
    </message>
    <message>
        <source>Price on the table&apos;s select rates, the life selected at the age at issue; only for a table with select rates</source>
        <translation>Mit den Selektionswahrscheinlichkeiten der Tafel rechnen, das Leben beim Eintrittsalter ausgelesen; nur bei einer Tafel mit Selektionswahrscheinlichkeiten</translation>
    </message>
    <message>
        <source>Second li&amp;fe</source>
        <translation>&amp;Zweites Leben</translation>
    </message>
    <message>
        <source>Benefits paid:</source>
        <translation>Leistungen gezahlt:</translation>
    </message>
    <message>
        <source>Joint (first death)</source>
        <translation>Verbunden (erster Tod)</translation>
    </message>
    <message>
        <source>Last survivor (second death)</source>
        <translation>Letztlebend (zweiter Tod)</translation>
    </message>
    <message>
        <source>Reversionary (to the second life)</source>
        <translation>Hinterbliebenenrente (an das zweite Leben)</translation>
    </message>
    <message>
        <source>Premiums paid:</source>
        <translation>Prämien gezahlt:</translation>
    </message>
    <message>
        <source>While both are alive (joint)</source>
        <translation>Solange beide leben (verbunden)</translation>
    </message>
    <message>
        <source>While either is alive (last survivor)</source>
        <translation>Solange einer lebt (letztlebend)</translation>
    </message>
    <message>
        <source>Expenses</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Initial, at issue:</source>
        <translation>Abschluss, bei Beginn:</translation>
    </message>
    <message>
        <source>% of the first year&apos;s premiums:</source>
        <translation>% der Prämien im ersten Jahr:</translation>
    </message>
    <message>
        <source>Renewal, each later year:</source>
        <translation>Verwaltung, jedes weitere Jahr:</translation>
    </message>
    <message>
        <source>% of later premiums:</source>
        <translation>% der späteren Prämien:</translation>
    </message>
    <message>
        <source>With each claim:</source>
        <translation>Je Leistungsfall:</translation>
    </message>
    <message>
        <source>Please select the second life&apos;s mortality table.</source>
        <translation>Bitte wählen Sie die Sterbetafel des zweiten Lebens.</translation>
    </message>
    <message>
        <source>Second life, age at issue</source>
        <translation>Zweites Leben, Eintrittsalter</translation>
    </message>
    <message>
        <source>Initial expenses</source>
        <translation>Abschlusskosten</translation>
    </message>
    <message>
        <source>%1: please enter a percent from 0 to below 100.</source>
        <translation>%1: Bitte geben Sie einen Prozentsatz von 0 bis unter 100 ein.</translation>
    </message>
    <message>
        <source>Initial expenses, % of the first year&apos;s premiums</source>
        <translation>Abschlusskosten, % der Prämien im ersten Jahr</translation>
    </message>
    <message>
        <source>Renewal expenses</source>
        <translation>Verwaltungskosten</translation>
    </message>
    <message>
        <source>Renewal expenses, % of later premiums</source>
        <translation>Verwaltungskosten, % der späteren Prämien</translation>
    </message>
    <message>
        <source>Claim expenses</source>
        <translation>Schadenregulierungskosten</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Selektion</translation>
    </message>
    <message>
        <source>Second life, mortality table</source>
        <translation>Zweites Leben, Sterbetafel</translation>
    </message>
    <message>
        <source>Benefits paid</source>
        <translation>Leistungen gezahlt</translation>
    </message>
    <message>
        <source>Joint: while both are alive, or on the first death. Last survivor: while either is alive, or on the second death. Reversionary: annuities to the second life after the first life&apos;s death.</source>
        <translation>Verbunden: solange beide leben, oder beim ersten Tod. Letztlebend: solange einer lebt, oder beim zweiten Tod. Hinterbliebenenrente: Renten an das zweite Leben nach dem Tod des ersten.</translation>
    </message>
</context>
<context>
    <name>ProductCharts</name>
    <message>
        <source>Duration (years)</source>
        <translation>Dauer (Jahre)</translation>
    </message>
    <message>
        <source>Net policy value</source>
        <translation>Netto-Deckungskapital</translation>
    </message>
    <message>
        <source>Age</source>
        <translation>Alter</translation>
    </message>
    <message>
        <source>Probability of survival</source>
        <translation>Überlebenswahrscheinlichkeit</translation>
    </message>
    <message>
        <source>age %1, %2 table</source>
        <translation>Alter %1, Tafel %2</translation>
    </message>
    <message>
        <source>Policy value by duration (%1)</source>
        <translation>Deckungskapital nach Dauer (%1)</translation>
    </message>
    <message>
        <source>Survival from the issue age (%1)</source>
        <translation>Überleben ab dem Eintrittsalter (%1)</translation>
    </message>
    <message>
        <source>ages %1 and %2</source>
        <translation>Alter %1 und %2</translation>
    </message>
    <message>
        <source>tpx (first life)</source>
        <translation>tpx (erstes Leben)</translation>
    </message>
    <message>
        <source>tpy (second)</source>
        <translation>tpy (zweites)</translation>
    </message>
    <message>
        <source>tpxy (both)</source>
        <translation>tpxy (beide)</translation>
    </message>
    <message>
        <source>last survivor</source>
        <translation>letztlebend</translation>
    </message>
    <message>
        <source>Survival of two lives (ages %1 and %2, %3 and %4 tables)</source>
        <translation>Überleben zweier Leben (Alter %1 und %2, Tafeln %3 und %4)</translation>
    </message>
</context>
</TS>
