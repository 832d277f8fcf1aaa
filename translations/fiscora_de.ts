<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>The data was created by reading from SD-Card or Backup.</source>
        <translation>Die Daten wurden von der SD-Karte oder aus einer Sicherung gelesen.</translation>
    </message>
    <message>
        <source>The data was reading from the cash register over serial communication.</source>
        <translation>Die Daten wurden über die serielle Schnittstelle aus der Kasse gelesen.</translation>
    </message>
    <message>
        <source>The data was reading from the cash register over LAN.</source>
        <translation>Die Daten wurden über das Netzwerk (LAN) aus der Kasse gelesen.</translation>
    </message>
    <message>
        <source>Source of the data couldn´t determine.</source>
        <translation>Die Herkunft der Daten lässt sich nicht bestimmen.</translation>
    </message>
    <message>
        <source>Serialnumber of the cash register: %1</source>
        <translation>Seriennummer der Kasse: %1</translation>
    </message>
    <message>
        <source>Firmwareversion of the cash register: %1</source>
        <translation>Firmwareversion der Kasse: %1</translation>
    </message>
    <message>
        <source>For the data was not Index file written, so the validity can&apos;t determine.</source>
        <translation>Zu den Daten wurde keine Indexdatei geschrieben, daher lässt sich ihre Vollständigkeit nicht prüfen.</translation>
    </message>
    <message>
        <source>INDEX ERROR: The file for the date %1 is missing.</source>
        <translation>INDEXFEHLER: Die Datei für den Monat %1 fehlt.</translation>
    </message>
    <message>
        <source>INDEX ERROR: For the complete dataset exist no Index file, the validity can´t determine.</source>
        <translation>INDEXFEHLER: Für den gesamten Datenbestand gibt es keine Indexdatei, daher lässt sich seine Vollständigkeit nicht prüfen.</translation>
    </message>
    <message>
        <source>The data index is correct, no issues recognised.</source>
        <translation>Der Datenindex ist korrekt, es wurden keine Probleme erkannt.</translation>
    </message>
</context>
<context>
    <name>fiscora::KTLCypher</name>
    <message>
        <source>Encrypted source file don´t exist</source>
        <translation>Die verschlüsselte Quelldatei existiert nicht.</translation>
    </message>
    <message>
        <source>Check your source file selection!</source>
        <translation>Bitte prüfen Sie die Auswahl der Quelldatei!</translation>
    </message>
    <message>
        <source>The target folder is not valid</source>
        <translation>Der Zielordner ist ungültig.</translation>
    </message>
    <message>
        <source>Check the saving location for the decryption folder.</source>
        <translation>Bitte prüfen Sie den Speicherort für den Ordner der entschlüsselten Daten.</translation>
    </message>
    <message>
        <source>Folder %1 for saving decrypted files couldn&apos;t create.</source>
        <translation>Der Ordner %1 für die entschlüsselten Dateien konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Check your create permision for the saving location.</source>
        <translation>Bitte prüfen Sie, ob Sie am Speicherort Ordner anlegen dürfen.</translation>
    </message>
    <message>
        <source>Encrypted source file %1 couldn´t open for decryption.</source>
        <translation>Die verschlüsselte Quelldatei %1 konnte nicht zum Entschlüsseln geöffnet werden.</translation>
    </message>
    <message>
        <source>Check your source file selection and be sure you have read permissions.</source>
        <translation>Bitte prüfen Sie die Auswahl der Quelldatei und ob Sie sie lesen dürfen.</translation>
    </message>
    <message>
        <source>A file with the name %1 already exist and can&apos;t overwritten.</source>
        <translation>Eine Datei mit dem Namen %1 existiert bereits und kann nicht überschrieben werden.</translation>
    </message>
    <message>
        <source>Check if the file is open or if you have write permissions.</source>
        <translation>Bitte prüfen Sie, ob die Datei geöffnet ist und ob Sie Schreibrechte haben.</translation>
    </message>
    <message>
        <source>File %1 couldn´t create for saving data.</source>
        <translation>Die Datei %1 zum Speichern der Daten konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Calculated hash value: %1</source>
        <translation>Berechneter Hashwert: %1</translation>
    </message>
    <message>
        <source>The data seems not corrupted!</source>
        <translation>Die Daten scheinen unverändert zu sein!</translation>
    </message>
    <message>
        <source>Hash value: OK</source>
        <translation>Hashwert: OK</translation>
    </message>
    <message>
        <source>Hash value: INVALID</source>
        <translation>Hashwert: UNGÜLTIG</translation>
    </message>
    <message>
        <source>The data could be corrupted!</source>
        <translation>Die Daten könnten verfälscht oder beschädigt sein!</translation>
    </message>
    <message>
        <source>No decrypted values for saving.</source>
        <translation>Es gibt keine entschlüsselten Daten zum Speichern.</translation>
    </message>
    <message>
        <source>Check your source file for having valid data.</source>
        <translation>Bitte prüfen Sie, ob die Quelldatei gültige Daten enthält.</translation>
    </message>
    <message>
        <source>DTD file couldn´t create successful!</source>
        <translation>Die DTD-Datei konnte nicht angelegt werden!</translation>
    </message>
    <message>
        <source>Check your write permission for the saving location.</source>
        <translation>Bitte prüfen Sie Ihre Schreibrechte am Speicherort.</translation>
    </message>
    <message>
        <source>XML file couldn´t create successful!</source>
        <translation>Die XML-Datei konnte nicht angelegt werden!</translation>
    </message>
    <message>
        <source>Couldn&apos;t init temporary space for the data.</source>
        <translation>Der Zwischenspeicher für die Daten konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Decryption error near line: %1</source>
        <translation>Entschlüsselungsfehler bei Zeile: %1</translation>
    </message>
    <message>
        <source>Check decryption near line: %1</source>
        <translation>Entschlüsselung bei Zeile %1 prüfen</translation>
    </message>
    <message>
        <source>Couldn&apos;t write the decrypted data to %1. The error from the system is: %2</source>
        <translation>Die entschlüsselten Daten konnten nicht in %1 geschrieben werden. Die Fehlermeldung des Systems lautet: %2</translation>
    </message>
    <message>
        <source>Check if there is enough free space and if you have write permissions.</source>
        <translation>Bitte prüfen Sie, ob genug Speicherplatz frei ist und ob Sie Schreibrechte haben.</translation>
    </message>
    <message>
        <source>Process abbort by the user.</source>
        <translation>Vorgang vom Benutzer abgebrochen.</translation>
    </message>
    <message>
        <source>Saving of the decrypted data was not successful!</source>
        <translation>Die entschlüsselten Daten wurden nicht vollständig gespeichert!</translation>
    </message>
    <message>
        <source>Only %1 of its %2 bytes could be read.</source>
        <translation>Nur %1 ihrer %2 Bytes konnten gelesen werden.</translation>
    </message>
    <message>
        <source>Encrypted source file %1 couldn&apos;t be read completely. The error from the system is: %2</source>
        <translation>Die verschlüsselte Quelldatei %1 konnte nicht vollständig gelesen werden. Die Fehlermeldung des Systems lautet: %2</translation>
    </message>
    <message>
        <source>Check that the medium holding the file is still connected.</source>
        <translation>Prüfen Sie, ob der Datenträger mit der Datei noch angeschlossen ist.</translation>
    </message>
    <message>
        <source>Not all records could be read: %1 lines were repaired, %2 bytes could not be read.</source>
        <translation>Nicht alle Datensätze konnten gelesen werden: %1 Zeilen wurden repariert, %2 Bytes konnten nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>fiscora::SDCardReader</name>
    <message>
        <source>No valid serial number folder found!</source>
        <translation>Es wurde kein gültiger Seriennummernordner gefunden!</translation>
    </message>
    <message>
        <source>Check your selected start path!</source>
        <translation>Bitte prüfen Sie den gewählten Startpfad!</translation>
    </message>
    <message>
        <source>SD card folder is not valid.</source>
        <translation>Der Ordner auf der SD-Karte ist ungültig.</translation>
    </message>
    <message>
        <source>Please check your path to the encrypted GoBD dataset.</source>
        <translation>Bitte prüfen Sie den Pfad zum verschlüsselten GoBD-Datenbestand.</translation>
    </message>
    <message>
        <source>Backup</source>
        <extracomment>Begins the name of a backup file, whose parts are joined by &quot;_&quot;: may not hold a &quot;_&quot;</extracomment>
        <translation>Backup</translation>
    </message>
    <message>
        <source>The index of the register is too large for a backup header.</source>
        <translation>Der Index der Kasse ist zu groß für den Kopf einer Sicherungsdatei.</translation>
    </message>
    <message>
        <source>Couldn´t create file %1 for saving data.</source>
        <translation>Die Datei %1 zum Speichern der Daten konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Please be sure that you have write access on your destination folder.</source>
        <translation>Bitte stellen Sie sicher, dass Sie im Zielordner Schreibrechte haben.</translation>
    </message>
    <message>
        <source>Process abbort by the user.</source>
        <translation>Vorgang vom Benutzer abgebrochen.</translation>
    </message>
    <message>
        <source>Your saved data are not complete!</source>
        <translation>Die gespeicherten Daten sind nicht vollständig!</translation>
    </message>
    <message>
        <source>Couldn´t read data from the file %1. The error from the system is: %2</source>
        <translation>Die Daten der Datei %1 konnten nicht gelesen werden. Die Fehlermeldung des Systems lautet: %2</translation>
    </message>
    <message>
        <source>You have no read permission on this location or the file is corrupted.</source>
        <translation>Sie haben an diesem Ort keine Leserechte, oder die Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>Couldn´t open file %1 for reading data.</source>
        <translation>Die Datei %1 konnte nicht zum Lesen geöffnet werden.</translation>
    </message>
    <message>
        <source>Your data source is corrupted or you have no right for open this file.</source>
        <translation>Die Datenquelle ist beschädigt, oder Sie dürfen diese Datei nicht öffnen.</translation>
    </message>
    <message>
        <source>In the folder %1 couldn´t found any data files!</source>
        <translation>Im Ordner %1 wurden keine Datendateien gefunden!</translation>
    </message>
    <message>
        <source>Please check your choosen folder of your source dataset.</source>
        <translation>Bitte prüfen Sie den gewählten Ordner des Quelldatenbestands.</translation>
    </message>
    <message>
        <source>For the choosen date %1 couldn´t found any data!</source>
        <translation>Für den gewählten Monat %1 wurden keine Daten gefunden!</translation>
    </message>
    <message>
        <source>Please change your choosen date or check your selected datafolder.</source>
        <translation>Bitte wählen Sie einen anderen Monat oder prüfen Sie den gewählten Datenordner.</translation>
    </message>
    <message>
        <source>For the choosen datespan %1 to %2 couldn´t found any data!</source>
        <translation>Für den gewählten Zeitraum %1 bis %2 wurden keine Daten gefunden!</translation>
    </message>
    <message>
        <source>Please change your choosen datespan or check your selected datafolder.</source>
        <translation>Bitte wählen Sie einen anderen Zeitraum oder prüfen Sie den gewählten Datenordner.</translation>
    </message>
    <message>
        <source>Couldn´t save data in backup file %1. The error from the system is: %2</source>
        <translation>Die Daten konnten nicht in der Sicherungsdatei %1 gespeichert werden. Die Fehlermeldung des Systems lautet: %2</translation>
    </message>
    <message>
        <source>You have no write permission on this location or the saved file is corrupted.</source>
        <translation>Sie haben an diesem Ort keine Schreibrechte, oder die gespeicherte Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>Index file could not read successful.</source>
        <translation>Die Indexdatei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Please check your sources for right permissions, or generate a new backup of your data.</source>
        <translation>Bitte prüfen Sie die Zugriffsrechte Ihrer Quellen, oder erstellen Sie eine neue Sicherung Ihrer Daten.</translation>
    </message>
    <message>
        <source>CR#</source>
        <extracomment>Stands before the serial number in the name of a backup file, whose parts are joined by &quot;_&quot;: may not hold a &quot;_&quot;</extracomment>
        <translation>CR#</translation>
    </message>
    <message>
        <source>NoSerialNumber</source>
        <extracomment>Stands for the serial number in the name of a backup file, whose parts are joined by &quot;_&quot;: may not hold a &quot;_&quot;</extracomment>
        <translation>NoSerialNumber</translation>
    </message>
    <message>
        <source>complete</source>
        <extracomment>The period of a backup of every month, part of its file name: may not hold a &quot;_&quot;</extracomment>
        <translation>complete</translation>
    </message>
    <message>
        <source>The backup file %1 was already written for another register folder.</source>
        <translation>Die Sicherungsdatei %1 wurde schon für einen anderen Kassenordner geschrieben.</translation>
    </message>
    <message>
        <source>Read that register folder on its own into another target folder.</source>
        <translation>Lesen Sie diesen Kassenordner einzeln in einen anderen Zielordner ein.</translation>
    </message>
    <message>
        <source>The backup file %1 is being written by another job.</source>
        <translation>Die Sicherungsdatei %1 wird gerade von einem anderen Auftrag geschrieben.</translation>
    </message>
    <message>
        <source>Wait until the other job has finished, or read into another target folder.</source>
        <translation>Warten Sie, bis der andere Auftrag beendet ist, oder lesen Sie in einen anderen Zielordner.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::BackupInfo</name>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>%1 is not a backup file: it does not start with a backup header.</source>
        <translation>%1 ist keine Sicherungsdatei: Sie beginnt nicht mit dem Kopf einer Sicherung.</translation>
    </message>
    <message>
        <source>Cannot read the backup file %1: %2</source>
        <translation>Die Sicherungsdatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>SD card or backup folder</source>
        <translation>SD-Karte oder Sicherungsordner</translation>
    </message>
    <message>
        <source>the register, over a serial line</source>
        <translation>die Kasse, über eine serielle Leitung</translation>
    </message>
    <message>
        <source>the register, over the network</source>
        <translation>die Kasse, über das Netzwerk</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>data file missing</source>
        <translation>Datendatei fehlt</translation>
    </message>
    <message>
        <source>data file not in the index</source>
        <translation>Datendatei nicht im Index</translation>
    </message>
    <message>
        <source>no index file</source>
        <translation>keine Indexdatei</translation>
    </message>
    <message>
        <source>unknown status %1</source>
        <translation>unbekannter Status %1</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CalendarCheck</name>
    <message>
        <source>Days without records</source>
        <translation>Tage ohne Datensätze</translation>
    </message>
    <message>
        <source>days without records: %1, from %2 to %3, beyond the closing pattern (%4)</source>
        <translation>Tage ohne Datensätze: %1, vom %2 bis %3, über die Schließtage hinaus (%4)</translation>
    </message>
    <message>
        <source>asked about at the first such day</source>
        <translation>nachgefragt schon bei einem solchen Tag</translation>
    </message>
    <message>
        <source>The business has records on every day it usually opens.</source>
        <translation>Der Betrieb hat an jedem Tag Datensätze, an dem er gewöhnlich geöffnet hat.</translation>
    </message>
    <message>
        <source>An auditor comparing takings over time sees these days without takings on days the business usually opens. Explain them (holidays, illness, a local holiday) or find their records.</source>
        <translation>Wer als Prüfer die Einnahmen im Zeitverlauf vergleicht, sieht diese Tage ohne Einnahmen an Tagen, an denen der Betrieb gewöhnlich öffnet. Erklären Sie sie (Urlaub, Krankheit, ein örtlicher Feiertag) oder finden Sie ihre Datensätze.</translation>
    </message>
    <message>
        <source>Months without records</source>
        <translation>Monate ohne Datensätze</translation>
    </message>
    <message>
        <source>months without records: %1, in %2</source>
        <translation>Monate ohne Datensätze: %1, in %2</translation>
    </message>
    <message>
        <source>flagged at the first such month</source>
        <translation>beanstandet schon bei einem solchen Monat</translation>
    </message>
    <message>
        <source>Every month of the period has records.</source>
        <translation>Jeder Monat des Zeitraums hat Datensätze.</translation>
    </message>
    <message>
        <source>A month without records is a month the auditor cannot check: the journal of the months named below has to be handed over, or their absence explained.</source>
        <translation>Einen Monat ohne Datensätze kann der Prüfer nicht prüfen: Das Journal der unten genannten Monate ist zu übergeben oder sein Fehlen zu erklären.</translation>
    </message>
    <message>
        <source>open every day of the week</source>
        <translation>an jedem Wochentag geöffnet</translation>
    </message>
    <message>
        <source>closed on %1</source>
        <translation>geschlossen am %1</translation>
    </message>
    <message>
        <source>%1; public holidays without records: %2</source>
        <translation>%1; Feiertage ohne Datensätze: %2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 to %2 (days usually open: %3)</source>
        <translation>%1 bis %2 (gewöhnlich geöffnete Tage: %3)</translation>
    </message>
    <message>
        <source>further: %1</source>
        <translation>weitere: %1</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CardSearch</name>
    <message>
        <source>Passed over, as they hold neither an index file nor a data file: %1</source>
        <translation>Übergangen, da sie weder eine Indexdatei noch eine Datendatei enthalten: %1</translation>
    </message>
    <message>
        <source>%1 leads to no register: it holds no serial-number folder.</source>
        <translation>%1 führt zu keiner Kasse: Es enthält keinen Seriennummernordner.</translation>
    </message>
    <message>
        <source>Choose the card, its maker folder or a register&apos;s folder.</source>
        <translation>Wählen Sie die Karte, ihren Herstellerordner oder den Ordner einer Kasse.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CheckCharts</name>
    <message>
        <source>Last digit before the decimal point of the daily takings</source>
        <translation>Letzte Ziffer vor dem Komma der Tageseinnahmen</translation>
    </message>
    <message>
        <source>First digit after the decimal point of the daily takings</source>
        <translation>Erste Ziffer nach dem Komma der Tageseinnahmen</translation>
    </message>
    <message>
        <source>First digits of the item amounts against Benford&apos;s law</source>
        <translation>Erste Ziffern der Artikelbeträge gegen das Benfordsche Gesetz</translation>
    </message>
    <message>
        <source>Takings per day, %1 to %2</source>
        <translation>Einnahmen je Tag, %1 bis %2</translation>
    </message>
    <message>
        <source>Takings in €</source>
        <translation>Einnahmen in €</translation>
    </message>
    <message>
        <source>Marked: days without records on which the business usually opens.</source>
        <translation>Markiert: Tage ohne Datensätze, an denen der Betrieb gewöhnlich geöffnet hat.</translation>
    </message>
    <message>
        <source>Takings per week</source>
        <translation>Einnahmen je Woche</translation>
    </message>
    <message>
        <source>W%1</source>
        <translation>KW%1</translation>
    </message>
    <message>
        <source>Mean takings per open day, by weekday</source>
        <translation>Mittlere Einnahmen je Öffnungstag, nach Wochentag</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Line: the count expected of figures that were not made up.</source>
        <translation>Linie: die Anzahl, die bei nicht erfundenen Zahlen zu erwarten ist.</translation>
    </message>
    <message>
        <source>Payments by hour of the day</source>
        <translation>Zahlungen nach Tagesstunde</translation>
    </message>
    <message>
        <source>Payments</source>
        <translation>Zahlungen</translation>
    </message>
    <message>
        <source>Marked: hours with payments in which the journal usually has none.</source>
        <translation>Markiert: Stunden mit Zahlungen, in denen das Journal gewöhnlich keine hat.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CheckCommand</name>
    <message>
        <source>Choose a backup file written by &quot;fiscora read&quot;, or an export folder.</source>
        <translation>Wählen Sie eine mit „fiscora read“ geschriebene Sicherungsdatei oder einen Exportordner.</translation>
    </message>
    <message>
        <source>The folder %1 holds no table file %2.</source>
        <translation>Der Ordner %1 enthält keine Tabellendatei %2.</translation>
    </message>
    <message>
        <source>Choose an export folder written by &quot;fiscora export --gdpdu&quot;, or a backup file.</source>
        <translation>Wählen Sie einen mit „fiscora export --gdpdu“ geschriebenen Exportordner oder eine Sicherungsdatei.</translation>
    </message>
    <message>
        <source>Cannot read the table file %1: %2</source>
        <translation>Die Tabellendatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Check the path and your read permission.</source>
        <translation>Bitte prüfen Sie den Pfad und Ihre Leserechte.</translation>
    </message>
    <message>
        <source>The journal of the period holds no lines of Buchungstyp &quot;%1&quot; to take the takings from.</source>
        <translation>Das Journal des Zeitraums enthält keine Zeilen mit Buchungstyp „%1“, aus denen die Einnahmen zu nehmen wären.</translation>
    </message>
    <message>
        <source>Name the Buchungstyp of the payment lines with --takings TYPE.</source>
        <translation>Nennen Sie den Buchungstyp der Zahlungszeilen mit --takings TYP.</translation>
    </message>
    <message>
        <source>Lines that name a payment way have the Buchungstyp %1: name the one of the payment lines with --takings TYPE.</source>
        <translation>Zeilen, die einen Zahlungsweg nennen, haben den Buchungstyp %1: Nennen Sie den der Zahlungszeilen mit --takings TYP.</translation>
    </message>
    <message>
        <source>Cannot write the report %1: %2</source>
        <translation>Der Bericht %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Check the free space and your write permission for its folder.</source>
        <translation>Bitte prüfen Sie den freien Speicherplatz und Ihre Schreibrechte für seinen Ordner.</translation>
    </message>
    <message>
        <source>%1 was not checked: its data does not match the MD5 value of its header.</source>
        <translation>%1 wurde nicht geprüft: ihre Daten stimmen nicht mit dem MD5-Wert ihres Kopfes überein.</translation>
    </message>
    <message>
        <source>The backup has been altered or damaged. Read the card again, or ask for an intact copy of the backup.</source>
        <translation>Die Sicherung wurde verändert oder beschädigt. Lesen Sie die Karte erneut, oder lassen Sie sich eine unversehrte Kopie der Sicherung geben.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CheckFinding</name>
    <message>
        <source>passed</source>
        <translation>bestanden</translation>
    </message>
    <message>
        <source>too few</source>
        <translation>zu wenige</translation>
    </message>
    <message>
        <source>does not apply</source>
        <translation>nicht anwendbar</translation>
    </message>
    <message>
        <source>to explain</source>
        <translation>zu erklären</translation>
    </message>
    <message>
        <source>flagged</source>
        <translation>beanstandet</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CheckPdf</name>
    <message>
        <source>Before the audit: what the tests of a tax audit make of the journal</source>
        <translation>Vor der Prüfung: was die Tests einer Betriebsprüfung aus dem Journal machen</translation>
    </message>
    <message>
        <source>Period: %1 to %2; records: %3; takings: %4 on %5 days, the Betrag of the lines of Buchungstyp &quot;%6&quot;</source>
        <translation>Zeitraum: %1 bis %2; Datensätze: %3; Einnahmen: %4 an %5 Tagen, der Betrag der Zeilen mit Buchungstyp „%6“</translation>
    </message>
    <message>
        <source>Threshold: %1</source>
        <translation>Schwelle: %1</translation>
    </message>
</context>
<context>
    <name>fiscora::app::CheckWords</name>
    <message>
        <source>%1 €</source>
        <translation>%1 €</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
</context>
<context>
    <name>fiscora::app::ColumnCheck</name>
    <message>
        <source>&quot;%1&quot; is not a number in digits only.</source>
        <translation>„%1“ ist keine Zahl nur aus Ziffern.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number.</source>
        <translation>„%1“ ist keine ganze Zahl.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number with one decimal.</source>
        <translation>„%1“ ist keine Zahl mit einer Nachkommastelle.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number with %2 decimals.</source>
        <translation>„%1“ ist keine Zahl mit %2 Nachkommastellen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date in the form %2.</source>
        <translation>„%1“ ist kein Datum der Form %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a day of the calendar.</source>
        <translation>„%1“ ist kein Tag des Kalenders.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::DigitCheck</name>
    <message>
        <source>First digit after the decimal point of the daily takings</source>
        <translation>Erste Ziffer nach dem Komma der Tageseinnahmen</translation>
    </message>
    <message>
        <source>%1 of the item amounts are whole euros, so the digits after the decimal point of the takings say nothing about them; an auditor who runs the test anyway can be shown the price list.</source>
        <translation>%1 der Artikelbeträge sind ganze Euro, die Ziffern nach dem Komma der Einnahmen sagen daher nichts über sie; einem Prüfer, der den Test dennoch rechnet, kann die Preisliste gezeigt werden.</translation>
    </message>
    <message>
        <source>Last digit before the decimal point of the daily takings</source>
        <translation>Letzte Ziffer vor dem Komma der Tageseinnahmen</translation>
    </message>
    <message>
        <source>chi² = %1; %2</source>
        <translation>Chi² = %1; %2</translation>
    </message>
    <message>
        <source>flagged above %1 (1 %, %2 degrees of freedom), worth a look above %3 (5 %); needs %4 days</source>
        <translation>beanstandet über %1 (1 %, %2 Freiheitsgrade), einen Blick wert über %3 (5 %); braucht %4 Tage</translation>
    </message>
    <message>
        <source>Too few days (%1): the test says nothing either way.</source>
        <translation>Zu wenige Tage (%1): Der Test sagt weder das eine noch das andere.</translation>
    </message>
    <message>
        <source>The digits are far less even than takings that are rung up give: an auditor&apos;s chi-square test flags the takings and takes them for figures that were set, not counted. Be ready to show how the takings came about, day by day.</source>
        <translation>Die Ziffern sind weit ungleichmäßiger, als es bei erfassten Einnahmen vorkommt: Der Chi-Quadrat-Test eines Prüfers beanstandet die Einnahmen und hält sie für festgesetzte, nicht gezählte Zahlen. Halten Sie bereit, wie die Einnahmen Tag für Tag zustande kamen.</translation>
    </message>
    <message>
        <source>The digits are less even than usual, though below the usual trigger: an auditor may look at the days more closely.</source>
        <translation>Die Ziffern sind ungleichmäßiger als üblich, aber unter der üblichen Schwelle: Ein Prüfer sieht sich die Tage vielleicht genauer an.</translation>
    </message>
    <message>
        <source>The digits are as even as takings that are rung up give: the test flags nothing.</source>
        <translation>Die Ziffern sind so gleichmäßig, wie es bei erfassten Einnahmen vorkommt: Der Test beanstandet nichts.</translation>
    </message>
    <message>
        <source>Days with takings in whole euros</source>
        <translation>Tage mit Einnahmen in ganzen Euro</translation>
    </message>
    <message>
        <source>days in whole euros: %1 (%2); %3</source>
        <translation>Tage in ganzen Euro: %1 (%2); %3</translation>
    </message>
    <message>
        <source>flagged from %1 such days on, as many as chance gives in fewer than 1 of 100 journals of this many days; needs %2 days</source>
        <translation>beanstandet ab %1 solchen Tagen, so vielen, wie der Zufall in weniger als 1 von 100 Journalen dieser Zahl von Tagen ergibt; braucht %2 Tage</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Takings that add up rung-up prices seldom end in whole euros: an auditor takes so many round days for figures that were written down, not counted. Explain how the takings of these days were found.</source>
        <translation>Einnahmen, die erfasste Preise summieren, enden selten auf ganze Euro: Ein Prüfer hält so viele runde Tage für aufgeschriebene, nicht gezählte Zahlen. Erklären Sie, wie die Einnahmen dieser Tage ermittelt wurden.</translation>
    </message>
    <message>
        <source>No more days end in whole euros than chance gives.</source>
        <translation>Nicht mehr Tage enden auf ganze Euro, als der Zufall ergibt.</translation>
    </message>
    <message>
        <source>Benford&apos;s law on the first digits of the item amounts</source>
        <translation>Benfordsches Gesetz für die ersten Ziffern der Artikelbeträge</translation>
    </message>
    <message>
        <source>MAD = %1, chi² = %2; item amounts above zero (Buchungstyp &quot;%4&quot;): %3</source>
        <translation>MAD = %1, Chi² = %2; Artikelbeträge über null (Buchungstyp „%4“): %3</translation>
    </message>
    <message>
        <source>MAD up to 0.006 close conformity, 0.012 acceptable, 0.015 marginal, above that flagged; chi² %1 at 1 % (8 degrees of freedom), which large samples exceed easily; needs %2 amounts spanning two powers of ten</source>
        <translation>MAD bis 0,006 enge Übereinstimmung, 0,012 akzeptabel, 0,015 grenzwertig, darüber beanstandet; Chi² %1 bei 1 % (8 Freiheitsgrade), das große Stichproben leicht überschreiten; braucht %2 Beträge über zwei Zehnerpotenzen</translation>
    </message>
    <message>
        <source>90 % of the item amounts lie between %1 and %2</source>
        <translation>90 % der Artikelbeträge liegen zwischen %1 und %2</translation>
    </message>
    <message>
        <source>Too few item amounts (%1): the test says nothing either way.</source>
        <translation>Zu wenige Artikelbeträge (%1): Der Test sagt weder das eine noch das andere.</translation>
    </message>
    <message>
        <source>The item amounts do not follow Benford&apos;s law, but they span less than two powers of ten, set by a price list: the law does not hold for such amounts. An auditor who runs the test anyway can be shown the price list.</source>
        <translation>Die Artikelbeträge folgen nicht dem Benfordschen Gesetz, reichen aber über weniger als zwei Zehnerpotenzen und sind von einer Preisliste vorgegeben: Für solche Beträge gilt das Gesetz nicht. Einem Prüfer, der den Test dennoch rechnet, kann die Preisliste gezeigt werden.</translation>
    </message>
    <message>
        <source>The item amounts span less than two powers of ten, where Benford&apos;s law need not hold; they conform to it all the same.</source>
        <translation>Die Artikelbeträge reichen über weniger als zwei Zehnerpotenzen, wo das Benfordsche Gesetz nicht gelten muss; sie stimmen trotzdem mit ihm überein.</translation>
    </message>
    <message>
        <source>The first digits do not conform to Benford&apos;s law: an auditor&apos;s test flags the item amounts. Explain what sets them (a price list, amounts typed in).</source>
        <translation>Die ersten Ziffern stimmen nicht mit dem Benfordschen Gesetz überein: Der Test eines Prüfers beanstandet die Artikelbeträge. Erklären Sie, was sie bestimmt (eine Preisliste, eingetippte Beträge).</translation>
    </message>
    <message>
        <source>The first digits conform to Benford&apos;s law only marginally: an auditor may look closer.</source>
        <translation>Die ersten Ziffern stimmen nur grenzwertig mit dem Benfordschen Gesetz überein: Ein Prüfer sieht vielleicht genauer hin.</translation>
    </message>
    <message>
        <source>The first digits conform acceptably to Benford&apos;s law.</source>
        <translation>Die ersten Ziffern stimmen akzeptabel mit dem Benfordschen Gesetz überein.</translation>
    </message>
    <message>
        <source>The first digits conform closely to Benford&apos;s law.</source>
        <translation>Die ersten Ziffern stimmen eng mit dem Benfordschen Gesetz überein.</translation>
    </message>
    <message>
        <source>days with takings: %1, %2 to %3, the Betrag of the lines of Buchungstyp &quot;%4&quot;</source>
        <translation>Tage mit Einnahmen: %1, %2 bis %3, der Betrag der Zeilen mit Buchungstyp „%4“</translation>
    </message>
    <message>
        <source>%1: %2 (expected %3)</source>
        <translation>%1: %2 (erwartet %3)</translation>
    </message>
</context>
<context>
    <name>fiscora::app::ExportCommand</name>
    <message>
        <source>Choose a backup file written by &quot;fiscora read&quot;, or give --raw to export a file of bare records.</source>
        <translation>Wählen Sie eine Sicherungsdatei, die „fiscora read“ geschrieben hat, oder geben Sie --raw an, um eine Datei mit bloßen Datensätzen zu exportieren.</translation>
    </message>
    <message>
        <source>Check the path and your read permission.</source>
        <translation>Bitte prüfen Sie den Pfad und Ihre Leserechte.</translation>
    </message>
    <message>
        <source>Choose a backup file written by &quot;fiscora read&quot;.</source>
        <translation>Wählen Sie eine von „fiscora read“ geschriebene Sicherungsdatei.</translation>
    </message>
    <message>
        <source>Choose a backup file that a read of the card wrote, named like Backup_CR#12345678_complete.enc.</source>
        <translation>Wählen Sie eine Sicherungsdatei, die beim Lesen der Karte geschrieben wurde, benannt wie Backup_CR#12345678_complete.enc.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::ExportVerifier</name>
    <message>
        <source>The table %1 uses %2, which this check does not support; its rows were not checked.</source>
        <translation>Die Tabelle %1 verwendet %2, was diese Prüfung nicht unterstützt; ihre Zeilen wurden nicht geprüft.</translation>
    </message>
    <message>
        <source>The row is longer than %1 bytes and was not checked.</source>
        <translation>Die Zeile ist länger als %1 Bytes und wurde nicht geprüft.</translation>
    </message>
    <message>
        <source>The row does not end with the record delimiter %1.</source>
        <translation>Die Zeile endet nicht mit dem Datensatztrenner %1.</translation>
    </message>
    <message>
        <source>The row is not valid UTF-8.</source>
        <translation>Die Zeile ist kein gültiges UTF-8.</translation>
    </message>
    <message>
        <source>The row has %1 instead of %2 fields.</source>
        <translation>Die Zeile hat %1 statt %2 Felder.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::FiguresCheck</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>The export folder holds no %1.</source>
        <translation>Der Exportordner enthält kein %1.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 holds no figures of a hand-over: %2.</source>
        <translation>%1 enthält keine Kennzahlen einer Übergabe: %2.</translation>
    </message>
    <message>
        <source>the whole period</source>
        <translation>den ganzen Zeitraum</translation>
    </message>
    <message>
        <source>%1 states the period %2, the folder&apos;s name %3.</source>
        <translation>%1 nennt den Zeitraum %2, der Name des Ordners %3.</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Sum of Betrag</source>
        <translation>Summe Betrag</translation>
    </message>
    <message>
        <source>Sum of Steuer</source>
        <translation>Summe Steuer</translation>
    </message>
    <message>
        <source>%1 of %2: %3 states %4, %5 gives %6.</source>
        <translation>%1 für %2: %3 nennt %4, %5 ergibt %6.</translation>
    </message>
    <message>
        <source>%1 states the SHA-256 value of %2, which is not in the export folder.</source>
        <translation>%1 nennt den SHA-256-Wert von %2, das nicht im Exportordner liegt.</translation>
    </message>
    <message>
        <source>%1 does not match the SHA-256 value that %2 states.</source>
        <translation>%1 passt nicht zu dem SHA-256-Wert, den %2 nennt.</translation>
    </message>
    <message>
        <source>%1 is in the export folder, but %2 states no SHA-256 value of it.</source>
        <translation>%1 liegt im Exportordner, aber %2 nennt keinen SHA-256-Wert dafür.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::FileDigest</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The job was stopped.</source>
        <translation>Der Auftrag wurde angehalten.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>fiscora::app::Finding</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>%1, line %2, column %3: %4</source>
        <translation>%1, Zeile %2, Spalte %3: %4</translation>
    </message>
    <message>
        <source>The file is missing.</source>
        <translation>Die Datei fehlt.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>fiscora::app::HabitCheck</name>
    <message>
        <source>Share of cash among the sales, month by month</source>
        <translation>Baranteil der Verkäufe, Monat für Monat</translation>
    </message>
    <message>
        <source>Share of cash among the sales, day by day</source>
        <translation>Baranteil der Verkäufe, Tag für Tag</translation>
    </message>
    <message>
        <source>%1: in cash %2 of the sales %3 (%4)</source>
        <translation>%1: bar %2 der Verkäufe %3 (%4)</translation>
    </message>
    <message>
        <source>chi² = %1; %3: %2; sales above zero: %4, in cash: %5 (%6), the lines of Buchungstyp &quot;%7&quot; with Funktionsname &quot;%8&quot; against the others</source>
        <translation>Chi² = %1; %3: %2; Verkäufe über null: %4, davon bar: %5 (%6), die Zeilen mit Buchungstyp „%7“ und Funktionsname „%8“ gegen die übrigen</translation>
    </message>
    <message>
        <source>months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>flagged above %1 (1 %, %2 degrees of freedom); needs %3 %4</source>
        <translation>beanstandet über %1 (1 %, %2 Freiheitsgrade); braucht %3 %4</translation>
    </message>
    <message>
        <source>The sales are all paid one way: there is no share to compare.</source>
        <translation>Die Verkäufe sind alle auf einem Weg bezahlt: Es gibt keinen Anteil zu vergleichen.</translation>
    </message>
    <message>
        <source>Too few %1 (%2): the test says nothing either way.</source>
        <translation>Zu wenige %1 (%2): Der Test sagt weder das eine noch das andere.</translation>
    </message>
    <message>
        <source>The share of cash changes from month to month more than chance gives: an auditor comparing cash and card payments over time asks why cash sales fell where they did (the months are below). Explain what changed, such as prices, customers or a card terminal.</source>
        <translation>Der Baranteil schwankt von Monat zu Monat stärker, als der Zufall ergibt: Wer als Prüfer Bar- und Kartenzahlungen im Zeitverlauf vergleicht, fragt, warum die Barverkäufe dort zurückgingen (die Monate stehen unten). Erklären Sie, was sich geändert hat, etwa Preise, Kundschaft oder ein Kartenterminal.</translation>
    </message>
    <message>
        <source>The share of cash changes from day to day more than chance gives: on the days below it is far lower than usual, which an auditor takes for cash sales missing from those days. Explain them.</source>
        <translation>Der Baranteil schwankt von Tag zu Tag stärker, als der Zufall ergibt: An den Tagen unten ist er weit niedriger als üblich, was ein Prüfer für fehlende Barverkäufe an diesen Tagen hält. Erklären Sie sie.</translation>
    </message>
    <message>
        <source>The share of cash stays as even as chance gives.</source>
        <translation>Der Baranteil bleibt so gleichmäßig, wie der Zufall ergibt.</translation>
    </message>
    <message>
        <source>Payments outside the usual hours</source>
        <translation>Zahlungen außerhalb der üblichen Stunden</translation>
    </message>
    <message>
        <source>%1 (%2): payments in %3, usually %4</source>
        <translation>%1 (%2): Zahlungen in %3, gewöhnlich %4</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>days with payments outside the hours in which the journal usually has them: %1 (usual: %2)</source>
        <translation>Tage mit Zahlungen außerhalb der Stunden, in denen das Journal sie gewöhnlich hat: %1 (üblich: %2)</translation>
    </message>
    <message>
        <source>an hour is usual on a weekday with payments on %1 of its days; weekdays with %2 days or more are judged</source>
        <translation>eine Stunde ist an einem Wochentag üblich mit Zahlungen an %1 seiner Tage; beurteilt werden Wochentage mit mindestens %2 Tagen</translation>
    </message>
    <message>
        <source>An auditor looking at the payments by hour asks about those outside the usual hours: explain them (an event, a late delivery, a clock that was wrong).</source>
        <translation>Wer als Prüfer die Zahlungen nach Stunden ansieht, fragt nach denen außerhalb der üblichen Stunden: Erklären Sie sie (eine Veranstaltung, eine späte Lieferung, eine falsch gehende Uhr).</translation>
    </message>
    <message>
        <source>Every payment falls in the hours in which the journal usually has them.</source>
        <translation>Jede Zahlung fällt in die Stunden, in denen das Journal sie gewöhnlich hat.</translation>
    </message>
    <message>
        <source>Cancellations and returns by operator</source>
        <translation>Stornos und Retouren nach Bediener</translation>
    </message>
    <message>
        <source>Bedienernummer %1: receipts %2, cancellations %3 (%4 of the receipts), returns %5</source>
        <translation>Bedienernummer %1: Bons %2, Stornos %3 (%4 der Bons), Retouren %5</translation>
    </message>
    <message>
        <source>cancellations (Buchungstyp &quot;%2&quot;): %1, receipts: %3, operators: %4</source>
        <translation>Stornos (Buchungstyp „%2“): %1, Bons: %3, Bediener: %4</translation>
    </message>
    <message>
        <source>an operator stands out with %1 times the cancellations per receipt of the others and at least %2 cancellations</source>
        <translation>ein Bediener fällt auf mit dem %1-Fachen der Stornos je Bon der übrigen und mindestens %2 Stornos</translation>
    </message>
    <message>
        <source>No operator cancels much more often than the others.</source>
        <translation>Kein Bediener storniert viel öfter als die übrigen.</translation>
    </message>
    <message>
        <source>Bedienernummer %1 cancels far more often than the others: an auditor asks whether sales were cancelled after they were paid. Explain it (training, a difficult till) and keep the cancelled receipts at hand.</source>
        <translation>Bedienernummer %1 storniert weit öfter als die übrigen: Ein Prüfer fragt, ob Verkäufe nach der Bezahlung storniert wurden. Erklären Sie es (Einarbeitung, eine schwierige Kasse) und halten Sie die stornierten Bons bereit.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::HandoverArchive</name>
    <message>
        <source>The archive %1 already exists.</source>
        <translation>Das Archiv %1 gibt es bereits.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Den Ordner %1 gibt es nicht.</translation>
    </message>
    <message>
        <source>%1 is larger than 4 GiB, more than a file in the archive can hold.</source>
        <translation>%1 ist größer als 4 GiB, mehr als eine Datei im Archiv fassen kann.</translation>
    </message>
    <message>
        <source>The archive %1 would be larger than 4 GiB, more than it can hold.</source>
        <translation>Das Archiv %1 würde größer als 4 GiB, mehr als es fassen kann.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the archive %1: %2</source>
        <translation>Das Archiv %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The archive %1 was not written: the job was stopped.</source>
        <translation>Das Archiv %1 wurde nicht geschrieben: Der Auftrag wurde angehalten.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::HandoverFigures</name>
    <message>
        <source>it holds no JSON object</source>
        <translation>es enthält kein JSON-Objekt</translation>
    </message>
    <message>
        <source>it is no JSON document: %1 at byte %2</source>
        <translation>es ist kein JSON-Dokument: %1 bei Byte %2</translation>
    </message>
    <message>
        <source>its value &quot;%1&quot; is missing or not what it should be</source>
        <translation>sein Wert „%1“ fehlt oder ist nicht, was er sein soll</translation>
    </message>
</context>
<context>
    <name>fiscora::app::HandoverProtocol</name>
    <message>
        <source>Hand-over protocol of the cash register %1</source>
        <translation>Übergabeprotokoll der Kasse %1</translation>
    </message>
    <message>
        <source>Hand-over protocol</source>
        <translation>Übergabeprotokoll</translation>
    </message>
    <message>
        <source>GoBD/GDPdU export of the cash register %1</source>
        <translation>GoBD/GDPdU-Export der Kasse %1</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Report of the export</source>
        <translation>Bericht des Exports</translation>
    </message>
    <message>
        <source>The file %1 beside this protocol holds the SHA-256 value of every other file of the archive; &quot;sha256sum -c %1&quot; checks them.</source>
        <translation>Die Datei %1 neben diesem Protokoll enthält den SHA-256-Wert jeder anderen Datei des Archivs; „sha256sum -c %1“ prüft sie.</translation>
    </message>
    <message>
        <source>Serial number of the cash register</source>
        <translation>Seriennummer der Kasse</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Records in the table file</source>
        <translation>Datensätze in der Tabellendatei</translation>
    </message>
    <message>
        <source>Export folder in the archive</source>
        <translation>Exportordner im Archiv</translation>
    </message>
    <message>
        <source>Backup file</source>
        <translation>Sicherungsdatei</translation>
    </message>
    <message>
        <source>Source of the backup&apos;s data</source>
        <translation>Herkunft der Daten der Sicherung</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Created with</source>
        <translation>Erstellt mit</translation>
    </message>
    <message>
        <source>MD5 value in the backup header</source>
        <translation>MD5-Wert im Kopf der Sicherung</translation>
    </message>
    <message>
        <source>MD5 value of the backup&apos;s data</source>
        <translation>MD5-Wert der Daten der Sicherung</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>matches</source>
        <translation>stimmt überein</translation>
    </message>
    <message>
        <source>does not match</source>
        <translation>stimmt nicht überein</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Datensätze</translation>
    </message>
    <message>
        <source>Sum of Betrag</source>
        <translation>Summe Betrag</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>No records were repaired and none were lost.</source>
        <translation>Kein Datensatz wurde repariert, keiner ging verloren.</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>MD5 proof and SHA-256 value of the backup</source>
        <translation>MD5-Nachweis und SHA-256-Wert der Sicherung</translation>
    </message>
    <message>
        <source>SHA-256 values of the files</source>
        <translation>SHA-256-Werte der Dateien</translation>
    </message>
    <message>
        <source>These are the files of the export folder %1 in the archive; %2 holds the figures of this protocol for programs. Printed and signed, this protocol pins the data: a file whose SHA-256 value differs from the one above is not the file handed over.</source>
        <translation>Dies sind die Dateien des Exportordners %1 im Archiv; %2 enthält die Kennzahlen dieses Protokolls für Programme. Ausgedruckt und unterschrieben legt dieses Protokoll die Daten fest: Eine Datei, deren SHA-256-Wert von dem obigen abweicht, ist nicht die übergebene Datei.</translation>
    </message>
    <message>
        <source>SHA-256 value of the backup file</source>
        <translation>SHA-256-Wert der Sicherungsdatei</translation>
    </message>
    <message>
        <source>Sum of Steuer</source>
        <translation>Summe Steuer</translation>
    </message>
</context>
<context>
    <name>fiscora::app::InfoCommand</name>
    <message>
        <source>Choose a backup file written by &quot;fiscora read&quot;.</source>
        <translation>Wählen Sie eine von „fiscora read“ geschriebene Sicherungsdatei.</translation>
    </message>
    <message>
        <source>Check the path and your read permission.</source>
        <translation>Bitte prüfen Sie den Pfad und Ihre Leserechte.</translation>
    </message>
    <message>
        <source>Choose a backup file that a read of the card wrote, named like Backup_CR#12345678_complete.enc.</source>
        <translation>Wählen Sie eine Sicherungsdatei, die beim Lesen der Karte geschrieben wurde, benannt wie Backup_CR#12345678_complete.enc.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::JobPaths</name>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 gibt es nicht.</translation>
    </message>
    <message>
        <source>Check the path, and that the card or drive holding it is plugged in.</source>
        <translation>Prüfen Sie den Pfad und ob die Karte oder das Laufwerk, auf dem er liegt, eingesteckt ist.</translation>
    </message>
    <message>
        <source>The target %1 is a file, not a folder.</source>
        <translation>Das Ziel %1 ist eine Datei, kein Ordner.</translation>
    </message>
    <message>
        <source>Choose a folder as the target, or a path that does not exist yet.</source>
        <translation>Wählen Sie einen Ordner als Ziel oder einen Pfad, den es noch nicht gibt.</translation>
    </message>
    <message>
        <source>Cannot create the target folder %1.</source>
        <translation>Der Zielordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Check the path and your write permission for its parent folder.</source>
        <translation>Bitte prüfen Sie den Pfad und Ihre Schreibrechte im übergeordneten Ordner.</translation>
    </message>
    <message>
        <source>%1 is already there.</source>
        <translation>%1 ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>Replace it with --overwrite, or choose another target folder.</source>
        <translation>Ersetzen Sie es mit --overwrite, oder wählen Sie einen anderen Zielordner.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::NumberingCheck</name>
    <message>
        <source>Zeilennummer without gaps, repeats or steps back</source>
        <translation>Zeilennummer ohne Lücken, Wiederholungen oder Rücksprünge</translation>
    </message>
    <message>
        <source>missing: %1, gaps: %2, repeated or out of order: %3, records of the period: %4</source>
        <translation>fehlend: %1, Lücken: %2, wiederholt oder außer der Reihe: %3, Datensätze des Zeitraums: %4</translation>
    </message>
    <message>
        <source>flagged at the first missing, repeated or backward number</source>
        <translation>beanstandet schon bei einer fehlenden, wiederholten oder zurückspringenden Nummer</translation>
    </message>
    <message>
        <source>An auditor asks about each gap first: lines missing from the journal are records that were not kept. Explain each gap (damage of the card, a reset of the register with its protocol); the lines below name the numbers and the records on both sides.</source>
        <translation>Nach jeder Lücke fragt ein Prüfer zuerst: Zeilen, die im Journal fehlen, sind nicht aufbewahrte Aufzeichnungen. Erklären Sie jede Lücke (Schaden der Karte, ein Zurücksetzen der Kasse mit seinem Protokoll); die Zeilen unten nennen die Nummern und die Datensätze auf beiden Seiten.</translation>
    </message>
    <message>
        <source>Every line number of the period follows the one before: the journal is complete in its lines.</source>
        <translation>Jede Zeilennummer des Zeitraums folgt auf die vorige: Das Journal ist in seinen Zeilen vollständig.</translation>
    </message>
    <message>
        <source>Bonnummer without gaps</source>
        <translation>Bonnummer ohne Lücken</translation>
    </message>
    <message>
        <source>missing: %1, gaps: %2</source>
        <translation>fehlend: %1, Lücken: %2</translation>
    </message>
    <message>
        <source>flagged at the first missing number</source>
        <translation>beanstandet schon bei einer fehlenden Nummer</translation>
    </message>
    <message>
        <source>Receipts missing from the numbering are sales an auditor will assume were made and not booked, unless each gap is explained.</source>
        <translation>Bons, die in der Nummerierung fehlen, hält ein Prüfer für getätigte, aber nicht gebuchte Verkäufe, solange nicht jede Lücke erklärt ist.</translation>
    </message>
    <message>
        <source>Every receipt number of the period follows the one before.</source>
        <translation>Jede Bonnummer des Zeitraums folgt auf die vorige.</translation>
    </message>
    <message>
        <source>Records that can be read</source>
        <translation>Lesbare Datensätze</translation>
    </message>
    <message>
        <source>damaged rows: %1, rows of the period: %2</source>
        <translation>beschädigte Zeilen: %1, Zeilen des Zeitraums: %2</translation>
    </message>
    <message>
        <source>flagged at the first damaged row</source>
        <translation>beanstandet schon bei einer beschädigten Zeile</translation>
    </message>
    <message>
        <source>Row %1 (%2): wrong number of fields</source>
        <translation>Zeile %1 (%2): falsche Zahl von Feldern</translation>
    </message>
    <message>
        <source>Row %1 (%2): %3 cannot be read</source>
        <translation>Zeile %1 (%2): %3 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>An auditor&apos;s import rejects damaged rows, and the figures of every other test leave them out. Keep the export&apos;s report of the damage at hand.</source>
        <translation>Der Import eines Prüfers weist beschädigte Zeilen zurück, und die Zahlen aller anderen Tests lassen sie aus. Halten Sie den Bericht des Exports über den Schaden bereit.</translation>
    </message>
    <message>
        <source>Every row of the period is a record an auditor&apos;s import reads whole.</source>
        <translation>Jede Zeile des Zeitraums ist ein Datensatz, den der Import eines Prüfers vollständig liest.</translation>
    </message>
    <message>
        <source>%1 %2 to %3 missing (count: %4) between %5 and %6</source>
        <translation>%1 %2 bis %3 fehlt (Anzahl: %4) zwischen %5 und %6</translation>
    </message>
    <message>
        <source>a damaged row lies between them, so the card&apos;s damage may explain it</source>
        <translation>dazwischen liegt eine beschädigte Zeile, der Schaden der Karte kann sie also erklären</translation>
    </message>
    <message>
        <source>further gaps: %1</source>
        <translation>weitere Lücken: %1</translation>
    </message>
    <message>
        <source>%1 %2 once more at %3</source>
        <translation>%1 %2 noch einmal am %3</translation>
    </message>
    <message>
        <source>%1 %2 smaller than the one before, at %3</source>
        <translation>%1 %2 kleiner als die vorige, am %3</translation>
    </message>
    <message>
        <source>no date</source>
        <translation>kein Datum</translation>
    </message>
</context>
<context>
    <name>fiscora::app::PackageCommand</name>
    <message>
        <source>Check that the medium holding the backup is still connected.</source>
        <translation>Prüfen Sie, ob das Medium mit der Sicherung noch verbunden ist.</translation>
    </message>
    <message>
        <source>Check the free space and your write permission for the target folder.</source>
        <translation>Prüfen Sie den freien Platz und Ihre Schreibberechtigung für den Zielordner.</translation>
    </message>
    <message>
        <source>The export did not pass its verification, so no archive was written.</source>
        <translation>Der Export hat seine Prüfung nicht bestanden, daher wurde kein Archiv geschrieben.</translation>
    </message>
    <message>
        <source>The findings above say what is wrong with the export.</source>
        <translation>Die Befunde oben sagen, was mit dem Export nicht stimmt.</translation>
    </message>
    <message>
        <source>Rows of the table that do not fit the columns index.xml declares: %1. They are the damaged records reported above.</source>
        <translation>Zeilen der Tabelle, die nicht zu den Spalten passen, die index.xml beschreibt: %1. Es sind die oben gemeldeten beschädigten Datensätze.</translation>
    </message>
    <message>
        <source>Verifying the export ...</source>
        <translation>Der Export wird geprüft ...</translation>
    </message>
    <message>
        <source>The backup holds no records for %1: these months are not in it, or their records were lost.</source>
        <translation>Die Sicherung enthält keine Datensätze für %1: Diese Monate sind nicht in ihr, oder ihre Datensätze gingen verloren.</translation>
    </message>
    <message>
        <source>Writing the archive %1 ...</source>
        <translation>Das Archiv %1 wird geschrieben ...</translation>
    </message>
    <message>
        <source>Records whose Betrag cannot be read: %1. The sums leave them out.</source>
        <translation>Datensätze, deren Betrag nicht lesbar ist: %1. Die Summen lassen sie aus.</translation>
    </message>
    <message>
        <source>Computing the SHA-256 values of the backup and the export ...</source>
        <translation>Die SHA-256-Werte der Sicherung und des Exports werden berechnet ...</translation>
    </message>
    <message>
        <source>Check that the media holding the backup and the target folder are still connected.</source>
        <translation>Prüfen Sie, ob die Datenträger mit der Sicherung und dem Zielordner noch angeschlossen sind.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::PeriodFindings</name>
    <message>
        <source>its data file is missing</source>
        <translation>seine Datendatei fehlt</translation>
    </message>
    <message>
        <source>its data file is not in the index</source>
        <translation>seine Datendatei steht nicht im Index</translation>
    </message>
    <message>
        <source>no index file vouches for it</source>
        <translation>keine Indexdatei bürgt für ihn</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>between %1 and %2</source>
        <translation>zwischen %1 und %2</translation>
    </message>
    <message>
        <source>Lines %1 to %2 are missing at the edge of this period, %3: whether they belong to it cannot be proven.</source>
        <translation>Die Zeilen %1 bis %2 fehlen am Rand dieses Zeitraums, %3: Ob sie zu ihm gehören, lässt sich nicht belegen.</translation>
    </message>
    <message>
        <source>Line %1 is missing from the numbering, %2.</source>
        <translation>Zeile %1 fehlt in der Nummerierung, %2.</translation>
    </message>
    <message>
        <source>Lines missing from the numbering in all: %1, and %2 at the edges of this period.</source>
        <translation>In der Nummerierung fehlende Zeilen insgesamt: %1, dazu %2 an den Rändern dieses Zeitraums.</translation>
    </message>
    <message>
        <source>Outside this period: %1.</source>
        <translation>Außerhalb dieses Zeitraums: %1.</translation>
    </message>
    <message>
        <source>row %1 of this table</source>
        <translation>Zeile %1 dieser Tabelle</translation>
    </message>
    <message>
        <source>row %1 of this table, %2</source>
        <translation>Zeile %1 dieser Tabelle, %2</translation>
    </message>
    <message>
        <source>1 record</source>
        <translation>1 Datensatz</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 Datensätze</translation>
    </message>
    <message>
        <source>%1: OK, %2</source>
        <translation>%1: OK, %2</translation>
    </message>
    <message>
        <source>%1 damaged</source>
        <translation>%1 beschädigt</translation>
    </message>
    <message>
        <source>%1 missing: lines %2</source>
        <translation>%1 fehlen: Zeilen %2</translation>
    </message>
    <message>
        <source>%1 twice</source>
        <translation>%1 doppelt</translation>
    </message>
    <message>
        <source>Lines %1 to %2 are missing from the numbering (%3 lines), %4.</source>
        <translation>Die Zeilen %1 bis %2 fehlen in der Nummerierung (%3 Zeilen), %4.</translation>
    </message>
    <message>
        <source>… and %1 more gaps in the numbering.</source>
        <translation>… und %1 weitere Lücken in der Nummerierung.</translation>
    </message>
    <message>
        <source>messages on damaged lines: %1</source>
        <translation>Meldungen zu beschädigten Zeilen: %1</translation>
    </message>
    <message>
        <source>damaged rows: %1</source>
        <translation>beschädigte Zeilen: %1</translation>
    </message>
    <message>
        <source>missing months: %1</source>
        <translation>fehlende Monate: %1</translation>
    </message>
    <message>
        <source>no records</source>
        <translation>keine Datensätze</translation>
    </message>
    <message>
        <source>Line numbers that appear more than once: %1; the first, %2, again in %3.</source>
        <translation>Zeilennummern, die mehrfach vorkommen: %1; die erste, %2, erneut in %3.</translation>
    </message>
    <message>
        <source>Rows whose line number is smaller than the one before: %1; the first, %2, in %3.</source>
        <translation>Zeilen, deren Zeilennummer kleiner ist als die davor: %1; die erste, %2, in %3.</translation>
    </message>
    <message>
        <source>Lines %1 to %2 are missing with the missing data file of %3, %4.</source>
        <translation>Die Zeilen %1 bis %2 fehlen mit der fehlenden Datendatei von %3, %4.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::ReadCommand</name>
    <message>
        <source>The target %1 lies on the card %2, which is only read.</source>
        <translation>Das Ziel %1 liegt auf der Karte %2, die nur gelesen wird.</translation>
    </message>
    <message>
        <source>Choose a target folder outside the card.</source>
        <translation>Wählen Sie einen Zielordner außerhalb der Karte.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::StagedExport</name>
    <message>
        <source>Cannot create a staging folder in %1: %2</source>
        <translation>In %1 kann kein Zwischenordner angelegt werden: %2</translation>
    </message>
    <message>
        <source>Check your write permission for the target folder.</source>
        <translation>Prüfen Sie Ihre Schreibberechtigung für den Zielordner.</translation>
    </message>
    <message>
        <source>The export of %1 was not kept: its data does not match the MD5 value of its header.</source>
        <translation>Der Export von %1 wurde nicht behalten: Seine Daten stimmen nicht mit dem MD5-Wert seines Kopfes überein.</translation>
    </message>
    <message>
        <source>The backup has been altered or damaged. Read the card again, or ask for an intact copy of the backup.</source>
        <translation>Die Sicherung wurde verändert oder beschädigt. Lesen Sie die Karte erneut, oder lassen Sie sich eine unversehrte Kopie der Sicherung geben.</translation>
    </message>
    <message>
        <source>Cannot write the table of the period to %1: %2</source>
        <translation>Die Tabelle des Zeitraums kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Check the free space and your write permission for the target folder.</source>
        <translation>Prüfen Sie den freien Platz und Ihre Schreibberechtigung für den Zielordner.</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>The backup holds no lines of the period %1.</source>
        <translation>Die Sicherung enthält keine Zeilen des Zeitraums %1.</translation>
    </message>
    <message>
        <source>The period %1 left out %2 of the %3 lines of the backup.</source>
        <translation>Der Zeitraum %1 hat %2 der %3 Zeilen der Sicherung ausgelassen.</translation>
    </message>
    <message>
        <source>Check that no program holds the export open, and your write permission.</source>
        <translation>Prüfen Sie, dass kein Programm den Export geöffnet hält, und Ihre Schreibberechtigung.</translation>
    </message>
    <message>
        <source>Cannot put the export in its place %1: %2</source>
        <translation>Der Export kann nicht an seinen Platz %1 gebracht werden: %2</translation>
    </message>
    <message>
        <source>Choose a period with records: &quot;fiscora info&quot; shows the records of each month.</source>
        <translation>Wählen Sie einen Zeitraum mit Datensätzen: „fiscora info“ zeigt die Datensätze jedes Monats.</translation>
    </message>
    <message>
        <source>The export %1 is being written by another job.</source>
        <translation>Der Export %1 wird gerade von einem anderen Auftrag geschrieben.</translation>
    </message>
    <message>
        <source>Wait until the other job has finished, or export into another target folder.</source>
        <translation>Warten Sie, bis der andere Auftrag beendet ist, oder exportieren Sie in einen anderen Zielordner.</translation>
    </message>
    <message>
        <source>Cannot write into the target folder %1: %2</source>
        <translation>In den Zielordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The export of %1 was not kept: its description files could not be written.</source>
        <translation>Der Export von %1 wurde nicht behalten: Seine Beschreibungsdateien konnten nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The earlier export is now in %1.</source>
        <translation>Der frühere Export liegt jetzt in %1.</translation>
    </message>
    <message>
        <source>The files kept in the earlier export are now in %1.</source>
        <translation>Die im früheren Export abgelegten Dateien liegen jetzt in %1.</translation>
    </message>
    <message>
        <source>Choose a period with records: the line under the backup file names its months.</source>
        <translation>Wählen Sie einen Zeitraum mit Datensätzen: Die Zeile unter der Sicherungsdatei nennt ihre Monate.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::TableFormat</name>
    <message>
        <source>%1 must be a whole number of at least %2, not &quot;%3&quot;.</source>
        <translation>%1 muss eine ganze Zahl von mindestens %2 sein, nicht „%3“.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::UnpackedArchive</name>
    <message>
        <source>Cannot read the archive %1: %2</source>
        <translation>Das Archiv %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The archive %1 holds %2, which would lie outside the folder it is unpacked into.</source>
        <translation>Das Archiv %1 enthält %2, das außerhalb des Ordners läge, in den es entpackt wird.</translation>
    </message>
    <message>
        <source>The archive %1 holds the symbolic link %2, which no hand-over archive holds.</source>
        <translation>Das Archiv %1 enthält die symbolische Verknüpfung %2, die kein Übergabearchiv enthält.</translation>
    </message>
    <message>
        <source>Cannot read %1 in the archive %2.</source>
        <translation>%1 im Archiv %2 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Cannot unpack %1: %2</source>
        <translation>%1 kann nicht entpackt werden: %2</translation>
    </message>
    <message>
        <source>The archive holds no %1.</source>
        <translation>Das Archiv enthält kein %1.</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>%1: the line is not a SHA-256 value, two spaces and a file name.</source>
        <translation>%1: Die Zeile ist kein SHA-256-Wert, zwei Leerzeichen und ein Dateiname.</translation>
    </message>
    <message>
        <source>%1: %2 is not in the archive.</source>
        <translation>%1: %2 ist nicht im Archiv.</translation>
    </message>
    <message>
        <source>%1: %2 does not match its SHA-256 value.</source>
        <translation>%1: %2 passt nicht zu seinem SHA-256-Wert.</translation>
    </message>
    <message>
        <source>%1 is in the archive, but %2 does not list it.</source>
        <translation>%1 ist im Archiv, aber %2 führt es nicht auf.</translation>
    </message>
</context>
<context>
    <name>fiscora::app::VerifyCommand</name>
    <message>
        <source>%1 is no folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>every month, as the folder&apos;s name %1 names no period</source>
        <translation>jeder Monat, da der Ordnername %1 keinen Zeitraum nennt</translation>
    </message>
    <message>
        <source>%1, as the folder&apos;s name %2 says</source>
        <translation>%1, wie der Ordnername %2 sagt</translation>
    </message>
    <message>
        <source>%1 to %2, as the folder&apos;s name %3 says</source>
        <translation>%1 bis %2, wie der Ordnername %3 sagt</translation>
    </message>
    <message>
        <source>gobd.csv holds no rows.</source>
        <translation>gobd.csv enthält keine Zeilen.</translation>
    </message>
    <message>
        <source>gobd.csv holds %1 rows outside its period %2.</source>
        <translation>gobd.csv enthält %1 Zeilen außerhalb ihres Zeitraums %2.</translation>
    </message>
    <message>
        <source>every month, as the folder&apos;s name %1 says</source>
        <translation>jeder Monat, wie der Ordnername %1 sagt</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder to unpack %1 into: %2</source>
        <translation>Es kann kein temporärer Ordner angelegt werden, um %1 darin zu entpacken: %2</translation>
    </message>
    <message>
        <source>Check the free space in the temporary folder, which TMPDIR names.</source>
        <translation>Prüfen Sie den freien Platz im temporären Ordner, den TMPDIR nennt.</translation>
    </message>
    <message>
        <source>Give the folder that holds index.xml and the table file, or a hand-over archive (.zip).</source>
        <translation>Geben Sie den Ordner an, der index.xml und die Tabellendatei enthält, oder ein Übergabearchiv (.zip).</translation>
    </message>
    <message>
        <source>Check that it is a hand-over archive written by &quot;fiscora package&quot;, and the free space in the temporary folder.</source>
        <translation>Prüfen Sie, ob es ein Übergabearchiv ist, das „fiscora package“ geschrieben hat, und den freien Platz im temporären Ordner.</translation>
    </message>
    <message>
        <source>The archive %1 holds no export folder: no index.xml.</source>
        <translation>Das Archiv %1 enthält keinen Exportordner: keine index.xml.</translation>
    </message>
    <message>
        <source>The archive %1 holds more than one export folder: %2.</source>
        <translation>Das Archiv %1 enthält mehr als einen Exportordner: %2.</translation>
    </message>
    <message>
        <source>Give a hand-over archive written by &quot;fiscora package&quot;.</source>
        <translation>Geben Sie ein Übergabearchiv an, das „fiscora package“ geschrieben hat.</translation>
    </message>
    <message>
        <source>The archive holds no %1.</source>
        <translation>Das Archiv enthält kein %1.</translation>
    </message>
    <message>
        <source>%1 lies outside the export folder %2, where a hand-over archive holds no file.</source>
        <translation>%1 liegt außerhalb des Exportordners %2, wo ein Übergabearchiv keine Datei enthält.</translation>
    </message>
</context>
<context>
    <name>fiscora::cli::CommandLine</name>
    <message>
        <source>No command given.</source>
        <translation>Es wurde kein Befehl angegeben.</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;.</source>
        <translation>Unbekannter Befehl „%1“.</translation>
    </message>
    <message>
        <source>Missing argument %1.</source>
        <translation>Das Argument %1 fehlt.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Diese Hilfe anzeigen.</translation>
    </message>
    <message>
        <source>Show the version of the library.</source>
        <translation>Die Version der Bibliothek anzeigen.</translation>
    </message>
    <message>
        <source>Print one JSON object per event, for scripts.</source>
        <translation>Ein JSON-Objekt je Ereignis ausgeben, für Skripte.</translation>
    </message>
    <message>
        <source>Show the library&apos;s debug lines.</source>
        <translation>Die Debug-Zeilen der Bibliothek anzeigen.</translation>
    </message>
    <message>
        <source>Use the texts of &lt;language&gt;, such as de or en.</source>
        <translation>Die Texte in &lt;Sprache&gt; verwenden, etwa de oder en.</translation>
    </message>
    <message>
        <source>language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>COMMAND [ARGUMENTS]</source>
        <translation>BEFEHL [ARGUMENTE]</translation>
    </message>
    <message>
        <source>A backup file written by &quot;fiscora read&quot;.</source>
        <translation>Eine von „fiscora read“ geschriebene Sicherungsdatei.</translation>
    </message>
    <message>
        <source>The SD card or a copy of it.</source>
        <translation>Die SD-Karte oder eine Kopie davon.</translation>
    </message>
    <message>
        <source>The folder for the backup files.</source>
        <translation>Der Ordner für die Sicherungsdateien.</translation>
    </message>
    <message>
        <source>date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>The folder for the export.</source>
        <translation>Der Ordner für den Export.</translation>
    </message>
    <message>
        <source>Write gobd.csv with index.xml and its DTD into TARGET/serial number/period/.</source>
        <translation>gobd.csv mit index.xml und deren DTD nach TARGET/Seriennummer/Zeitraum/ schreiben.</translation>
    </message>
    <message>
        <source>BACKUP holds bare records without a header: report their hash, compare none.</source>
        <translation>BACKUP enthält nur Datensätze ohne Kopf: deren Hashwert melden, keinen vergleichen.</translation>
    </message>
    <message>
        <source>Write the lines as they decrypt, without checking or repairing them.</source>
        <translation>Die Zeilen so schreiben, wie sie entschlüsselt werden, ohne sie zu prüfen oder zu reparieren.</translation>
    </message>
    <message>
        <source>Invalid date &quot;%1&quot; for --%2: write 2019-03, 2019-03-01 or 01.03.2019.</source>
        <translation>Ungültiges Datum „%1“ für --%2: Schreiben Sie 2019-03, 2019-03-01 oder 01.03.2019.</translation>
    </message>
    <message>
        <source>--to %1 needs --from: a span starts with its first month.</source>
        <translation>--to %1 braucht --from: Ein Zeitraum beginnt mit seinem ersten Monat.</translation>
    </message>
    <message>
        <source>--to %1 lies before --from %2.</source>
        <translation>--to %1 liegt vor --from %2.</translation>
    </message>
    <message>
        <source>There is no translation into &quot;%1&quot;.</source>
        <translation>Es gibt keine Übersetzung in „%1“.</translation>
    </message>
    <message>
        <source>&quot;%1 --help&quot; shows how to use it.</source>
        <translation>„%1 --help“ zeigt, wie es geht.</translation>
    </message>
    <message>
        <source>Start the table file with the INDEX_INFO line of the backup header (not with --gdpdu).</source>
        <translation>Die Tabellendatei mit der INDEX_INFO-Zeile des Sicherungskopfes beginnen (nicht mit --gdpdu).</translation>
    </message>
    <message>
        <source>The last month, with --from.</source>
        <translation>Der letzte Monat, mit --from.</translation>
    </message>
    <message>
        <source>Replace what is in the way instead of stopping before the start.</source>
        <translation>Ersetzen, was im Weg ist, statt vor dem Start anzuhalten.</translation>
    </message>
    <message>
        <source>A date is written 2019-03, 2019-03-01 or 01.03.2019 and stands for its month.</source>
        <translation>Ein Datum wird 2019-03, 2019-03-01 oder 01.03.2019 geschrieben und steht für seinen Monat.</translation>
    </message>
    <message>
        <source>Backs up every cash register found on the card SOURCE (the card, its maker folder or a register&apos;s folder) into one backup file per register in the folder TARGET. Without dates every month is read.</source>
        <translation>Sichert jede Kasse auf der Karte SOURCE (die Karte, ihr Herstellerordner oder der Ordner einer Kasse) in eine Sicherungsdatei je Kasse im Ordner TARGET. Ohne Datum wird jeder Monat gelesen.</translation>
    </message>
    <message>
        <source>Decrypts the backup file BACKUP into a table file below the folder TARGET, checks every line and proves with the backup&apos;s MD5 value that nothing was altered. The export is put in place only when its data matches that value. With dates, the table holds the lines of that period.</source>
        <translation>Entschlüsselt die Sicherungsdatei BACKUP in eine Tabellendatei unter dem Ordner TARGET, prüft jede Zeile und weist mit dem MD5-Wert der Sicherung nach, dass nichts verändert wurde. Der Export kommt nur an seinen Platz, wenn seine Daten diesem Wert entsprechen. Mit Datum enthält die Tabelle die Zeilen dieses Zeitraums.</translation>
    </message>
    <message>
        <source>Shows what the header of the backup file BACKUP says, whether its data still matches the MD5 value in the header, and the period and records it holds.</source>
        <translation>Zeigt, was der Kopf der Sicherungsdatei BACKUP sagt, ob ihre Daten noch dem MD5-Wert im Kopf entsprechen, und welchen Zeitraum und welche Datensätze sie enthält.</translation>
    </message>
    <message>
        <source>Shows the registers on the card SOURCE and, for each, the months with data files, what its index announces and what a read would give, without writing anything.</source>
        <translation>Zeigt die Kassen auf der Karte SOURCE und je Kasse die Monate mit Datendateien, was ihr Index ankündigt und was ein Lesen ergäbe, ohne etwas zu schreiben.</translation>
    </message>
    <message>
        <source>The backup file the export was made from.</source>
        <translation>Die Sicherungsdatei, aus der der Export erstellt wurde.</translation>
    </message>
    <message>
        <source>[BACKUP]</source>
        <translation>[BACKUP]</translation>
    </message>
    <message>
        <source>The folder for the archive.</source>
        <translation>Der Ordner für das Archiv.</translation>
    </message>
    <message>
        <source>--gdpdu has no effect with --raw: bare records have no header to name the export folder after, so the table file goes straight into TARGET.</source>
        <translation>--gdpdu wirkt nicht mit --raw: Bloße Datensätze haben keinen Kopf, nach dem der Exportordner benannt werden könnte, daher kommt die Tabellendatei direkt nach TARGET.</translation>
    </message>
    <message>
        <source>--index-info has no effect with --raw: bare records have no header.</source>
        <translation>--index-info wirkt nicht mit --raw: Bloße Datensätze haben keinen Kopf.</translation>
    </message>
    <message>
        <source>--index-info cannot go with --gdpdu: index.xml does not declare the INDEX_INFO line, so gobd.csv would start with a row that is no record.</source>
        <translation>--index-info geht nicht mit --gdpdu: index.xml beschreibt die INDEX_INFO-Zeile nicht, daher begänne gobd.csv mit einer Zeile, die kein Datensatz ist.</translation>
    </message>
    <message>
        <source>An empty date for --%1: write 2019-03, 2019-03-01 or 01.03.2019.</source>
        <translation>Ein leeres Datum für --%1: Schreiben Sie 2019-03, 2019-03-01 oder 01.03.2019.</translation>
    </message>
    <message>
        <source>The first month; without --to, the only month.</source>
        <translation>Der erste Monat; ohne --to der einzige Monat.</translation>
    </message>
    <message>
        <source>Show only results, errors and the report lines flagged as errors.</source>
        <translation>Nur Ergebnisse, Fehler und die als Fehler markierten Meldungszeilen zeigen.</translation>
    </message>
    <message>
        <source>Sum the takings from the lines of this Buchungstyp (Zahlung).</source>
        <translation>Die Einnahmen aus den Zeilen dieses Buchungstyps summieren (Zahlung).</translation>
    </message>
    <message>
        <source>type</source>
        <translation>typ</translation>
    </message>
    <message>
        <source>Write the charts of the check into this PDF file.</source>
        <translation>Die Diagramme der Prüfung in diese PDF-Datei schreiben.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>datei</translation>
    </message>
    <message>
        <source>Reads the journal of a cash register from its SD card into backup files and exports a backup for a tax audit under GoBD/GDPdU.

Commands:
  list SOURCE              show the registers and months on the card SOURCE
  read SOURCE TARGET       back up every register on the card SOURCE into TARGET
  info BACKUP              show the header, period and records of BACKUP
  export BACKUP TARGET     decrypt BACKUP into a table file below TARGET
  verify EXPORT_DIR [BACKUP]  check an export folder, and compare it with an export of BACKUP
  verify ARCHIVE.zip [BACKUP]  check a hand-over archive: its manifest, its figures and its export
  package BACKUP TARGET    export, verify and pack BACKUP into an archive for hand-over
  check SOURCE             show what the tests of a tax audit make of the journal in SOURCE

&quot;fiscora COMMAND --help&quot; lists the options of a command. Results go to standard output, progress and report lines to standard error.
Exit codes: 0 done, 1 an error or a message flagged as one was reported (a damaged line, records that could not be read, a missing month, an invalid hash value, a verification finding, something in the way), 2 wrong usage, 130 stopped by Ctrl+C, 143 by SIGTERM, 129 by SIGHUP.</source>
        <translation>Liest das Journal einer Kasse von ihrer SD-Karte in Sicherungsdateien und exportiert eine Sicherung für eine Betriebsprüfung nach GoBD/GDPdU.

Befehle:
  list SOURCE              die Kassen und Monate auf der Karte SOURCE zeigen
  read SOURCE TARGET       jede Kasse auf der Karte SOURCE nach TARGET sichern
  info BACKUP              Kopf, Zeitraum und Datensätze von BACKUP zeigen
  export BACKUP TARGET     BACKUP in eine Tabellendatei unter TARGET entschlüsseln
  verify EXPORT_DIR [BACKUP]  einen Exportordner prüfen und mit einem Export von BACKUP vergleichen
  verify ARCHIVE.zip [BACKUP]  ein Übergabearchiv prüfen: sein Manifest, seine Kennzahlen und seinen Export
  package BACKUP TARGET    BACKUP exportieren, prüfen und zur Übergabe in ein Archiv packen
  check SOURCE             zeigen, was die Tests einer Betriebsprüfung aus dem Journal in SOURCE machen

„fiscora BEFEHL --help“ listet die Optionen eines Befehls. Ergebnisse gehen auf die Standardausgabe, Fortschritt und Meldungszeilen auf die Standardfehlerausgabe.
Exit-Codes: 0 fertig, 1 ein Fehler oder eine als Fehler markierte Meldung wurde berichtet (eine beschädigte Zeile, Datensätze, die nicht gelesen werden konnten, ein fehlender Monat, ein ungültiger Hashwert, ein Befund der Prüfung, etwas im Weg), 2 falscher Aufruf, 130 mit Strg+C angehalten, 143 mit SIGTERM, 129 mit SIGHUP.</translation>
    </message>
    <message>
        <source>Checks the export folder EXPORT_DIR: index.xml valid against its DTD, and every row of the table file as index.xml declares it. With BACKUP, also that the table is what an export of BACKUP gives, and that the backup&apos;s MD5 value holds.
&quot;fiscora verify ARCHIVE.zip [BACKUP]&quot; checks a hand-over archive written by &quot;fiscora package&quot; the same way, and also every file against manifest.sha256, and the period, rows, sums and SHA-256 values that protokoll.json states against the table and the files. An export folder that holds protokoll.json is checked against it, too.</source>
        <translation>Prüft den Exportordner EXPORT_DIR: index.xml gültig nach seiner DTD, und jede Zeile der Tabellendatei so, wie index.xml sie beschreibt. Mit BACKUP auch, dass die Tabelle ist, was ein Export von BACKUP ergibt, und dass der MD5-Wert der Sicherung stimmt.
„fiscora verify ARCHIVE.zip [BACKUP]“ prüft ein Übergabearchiv, das „fiscora package“ geschrieben hat, ebenso und dazu jede Datei gegen manifest.sha256 sowie Zeitraum, Zeilen, Summen und SHA-256-Werte, die protokoll.json nennt, gegen die Tabelle und die Dateien. Ein Exportordner, der protokoll.json enthält, wird ebenfalls dagegen geprüft.</translation>
    </message>
    <message>
        <source>A folder written by &quot;fiscora export --gdpdu&quot;, or a hand-over archive written by &quot;fiscora package&quot;.</source>
        <translation>Ein Ordner, den „fiscora export --gdpdu“ geschrieben hat, oder ein Übergabearchiv, das „fiscora package“ geschrieben hat.</translation>
    </message>
    <message>
        <source>list, read, info, export, verify, package or check</source>
        <translation>list, read, info, export, verify, package oder check</translation>
    </message>
    <message>
        <source>Runs on the journal in SOURCE the tests that a tax audit of a cash business runs: gaps in the numbering of lines and receipts, days and months without records, the chi-square tests of the digits of the daily takings, days in whole euros, Benford&apos;s law on the item amounts, the share of cash over time, payments outside the usual hours and cancellations by operator. Each finding comes with its figure, its threshold and what an auditor would conclude. Exits with 1 when a test flags the journal.</source>
        <translation>Rechnet auf dem Journal in SOURCE die Tests, die eine Betriebsprüfung eines Bargeldbetriebs rechnet: Lücken in der Nummerierung der Zeilen und Bons, Tage und Monate ohne Datensätze, die Chi-Quadrat-Tests der Ziffern der Tageseinnahmen, Tage in ganzen Euro, das Benfordsche Gesetz für die Artikelbeträge, den Baranteil im Zeitverlauf, Zahlungen außerhalb der üblichen Stunden und Stornos nach Bediener. Jeder Befund kommt mit seiner Zahl, seiner Schwelle und dem, was ein Prüfer schließen würde. Endet mit 1, wenn ein Test das Journal beanstandet.</translation>
    </message>
    <message>
        <source>A backup file written by &quot;fiscora read&quot;, or an export folder.</source>
        <translation>Eine mit „fiscora read“ geschriebene Sicherungsdatei oder ein Exportordner.</translation>
    </message>
    <message>
        <source>Exports the backup file BACKUP for GDPdU, verifies the export and writes the archive TARGET/CR#&lt;serial number&gt;_&lt;period&gt;.zip for hand-over: the export folder with the protocol&apos;s figures protokoll.json beside the table, a manifest with the SHA-256 of every file, and a protocol as PDF, which states the SHA-256 values too. No archive is written when the MD5 proof fails or the verification finds more than the damaged records the export reported; the protocol states those.</source>
        <translation>Exportiert die Sicherungsdatei BACKUP für GDPdU, prüft den Export und schreibt zur Übergabe das Archiv TARGET/CR#&lt;Seriennummer&gt;_&lt;Zeitraum&gt;.zip: den Exportordner mit den Zahlen des Protokolls protokoll.json neben der Tabelle, ein Manifest mit dem SHA-256 jeder Datei und ein Protokoll als PDF, das die SHA-256-Werte ebenfalls nennt. Kein Archiv wird geschrieben, wenn der MD5-Nachweis scheitert oder die Prüfung mehr findet als die beschädigten Datensätze, die der Export gemeldet hat; das Protokoll nennt diese.</translation>
    </message>
</context>
<context>
    <name>fiscora::cli::TextReporter</name>
    <message>
        <source>Progress: %1 of %2</source>
        <translation>Fortschritt: %1 von %2</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Hint: %1</source>
        <translation>Hinweis: %1</translation>
    </message>
    <message>
        <source>Stopping: waiting for the running job to end...</source>
        <translation>Wird abgebrochen: Warten, bis der laufende Vorgang endet ...</translation>
    </message>
    <message>
        <source>Backup file</source>
        <translation>Sicherungsdatei</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Firmware version</source>
        <translation>Firmwareversion</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Herkunft</translation>
    </message>
    <message>
        <source>Header version</source>
        <translation>Version des Kopfs</translation>
    </message>
    <message>
        <source>MD5 in the header</source>
        <translation>MD5 im Kopf</translation>
    </message>
    <message>
        <source>MD5 of the data</source>
        <translation>MD5 der Daten</translation>
    </message>
    <message>
        <source>Size of the data</source>
        <translation>Größe der Daten</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>The data matches the MD5 value of the header.</source>
        <translation>Die Daten passen zum MD5-Wert im Kopf.</translation>
    </message>
    <message>
        <source>The data does not match the MD5 value of the header: it has been altered or damaged.</source>
        <translation>Die Daten passen nicht zum MD5-Wert im Kopf: Sie wurden verändert oder beschädigt.</translation>
    </message>
    <message>
        <source>Index report:</source>
        <translation>Indexbericht:</translation>
    </message>
    <message>
        <source>Files written:</source>
        <translation>Geschriebene Dateien:</translation>
    </message>
    <message>
        <source>[error]</source>
        <translation>[Fehler]</translation>
    </message>
    <message>
        <source>[info]</source>
        <translation>[Info]</translation>
    </message>
    <message>
        <source>no records</source>
        <translation>keine Datensätze</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Datensätze</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Card: %1</source>
        <translation>Karte: %1</translation>
    </message>
    <message>
        <source>Register %1 in %2</source>
        <translation>Kasse %1 in %2</translation>
    </message>
    <message>
        <source>A read would fail: %1</source>
        <translation>Ein Lesen schlüge fehl: %1</translation>
    </message>
    <message>
        <source>Data files</source>
        <translation>Datendateien</translation>
    </message>
    <message>
        <source>%1, %2 to %3</source>
        <translation>%1, %2 bis %3</translation>
    </message>
    <message>
        <source>Index file</source>
        <translation>Indexdatei</translation>
    </message>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>missing or unreadable: the months cannot be judged</source>
        <translation>fehlt oder ist unlesbar: Die Monate können nicht beurteilt werden</translation>
    </message>
    <message>
        <source>  o data file, announced   M announced, no data file   E data file, not announced
  U data file cannot be opened   ? data file, no index file   . nothing</source>
        <translation>  o Datendatei, angekündigt   M angekündigt, keine Datendatei   E Datendatei, nicht angekündigt
  U Datendatei nicht zu öffnen   ? Datendatei, keine Indexdatei   . nichts</translation>
    </message>
    <message>
        <source>Export folder: %1</source>
        <translation>Exportordner: %1</translation>
    </message>
    <message>
        <source>%1: %2 more findings.</source>
        <translation>%1: %2 weitere Befunde.</translation>
    </message>
    <message>
        <source>Rows checked: %1</source>
        <translation>Geprüfte Zeilen: %1</translation>
    </message>
    <message>
        <source>%1 is not in both the folder and an export of the backup.</source>
        <translation>%1 ist nicht zugleich im Ordner und in einem Export der Sicherung.</translation>
    </message>
    <message>
        <source>%1 differs from an export of the backup from line %2 on.</source>
        <translation>%1 weicht ab Zeile %2 von einem Export der Sicherung ab.</translation>
    </message>
    <message>
        <source>Every file is what an export of %1 gives.</source>
        <translation>Jede Datei ist, was ein Export von %1 ergibt.</translation>
    </message>
    <message>
        <source>The backup&apos;s data matches the MD5 value of its header.</source>
        <translation>Die Daten der Sicherung stimmen mit dem MD5-Wert ihres Kopfes überein.</translation>
    </message>
    <message>
        <source>The backup&apos;s data does not match the MD5 value of its header.</source>
        <translation>Die Daten der Sicherung stimmen nicht mit dem MD5-Wert ihres Kopfes überein.</translation>
    </message>
    <message>
        <source>The export is sound.</source>
        <translation>Der Export ist einwandfrei.</translation>
    </message>
    <message>
        <source>The export did not pass the verification.</source>
        <translation>Der Export hat die Prüfung nicht bestanden.</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Period: %1</source>
        <translation>Zeitraum: %1</translation>
    </message>
    <message>
        <source>The backup&apos;s records are damaged or lost where the lines above say, and so are the folder&apos;s.</source>
        <translation>Die Datensätze der Sicherung sind beschädigt oder verloren, wo es die Zeilen oben sagen, und ebenso die des Ordners.</translation>
    </message>
    <message>
        <source>Archive: %1</source>
        <translation>Archiv: %1</translation>
    </message>
    <message>
        <source>The archive is sound.</source>
        <translation>Das Archiv ist in Ordnung.</translation>
    </message>
    <message>
        <source>The archive did not pass the verification.</source>
        <translation>Das Archiv hat die Prüfung nicht bestanden.</translation>
    </message>
    <message>
        <source>Every file of the archive matches %1.</source>
        <translation>Jede Datei des Archivs passt zu %1.</translation>
    </message>
    <message>
        <source>Flagged: %1, to explain: %2, passed: %3, too few or not applicable: %4</source>
        <translation>Beanstandet: %1, zu erklären: %2, bestanden: %3, zu wenige oder nicht anwendbar: %4</translation>
    </message>
    <message>
        <source>%1 %2 (payments: %3)</source>
        <translation>%1 %2 (Zahlungen: %3)</translation>
    </message>
    <message>
        <source>StKz %1: Betrag %2, Steuer %3</source>
        <translation>StKz %1: Betrag %2, Steuer %3</translation>
    </message>
    <message>
        <source>Takings</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>%1 on %2 days, the Betrag of the lines of Buchungstyp &quot;%3&quot;</source>
        <translation>%1 an %2 Tagen, der Betrag der Zeilen mit Buchungstyp „%3“</translation>
    </message>
    <message>
        <source>Payment kinds</source>
        <translation>Zahlungsarten</translation>
    </message>
    <message>
        <source>Tax of the item lines</source>
        <translation>Steuer der Artikelzeilen</translation>
    </message>
    <message>
        <source>Receipts per day</source>
        <translation>Bons je Tag</translation>
    </message>
    <message>
        <source>%1 on average, the first at %2 at the earliest, the last at %3 at the latest</source>
        <translation>im Mittel %1, der erste frühestens um %2, der letzte spätestens um %3</translation>
    </message>
    <message>
        <source>%1 %2 (days: %3)</source>
        <translation>%1 %2 (Tage: %3)</translation>
    </message>
    <message>
        <source>Mean takings by weekday</source>
        <translation>Mittlere Einnahmen nach Wochentag</translation>
    </message>
    <message>
        <source>Threshold: %1</source>
        <translation>Schwelle: %1</translation>
    </message>
    <message>
        <source>The period, rows, sums and SHA-256 values are those %1 states.</source>
        <translation>Zeitraum, Zeilen, Summen und SHA-256-Werte sind die, die %1 nennt.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::AuditPage</name>
    <message>
        <source>The checks run on the backup and the period chosen in the export step.</source>
        <translation>Die Prüfungen laufen über die Sicherung und den Zeitraum, die im Exportschritt gewählt sind.</translation>
    </message>
    <message>
        <source>&amp;Check the journal</source>
        <translation>Journal &amp;prüfen</translation>
    </message>
    <message>
        <source>Ca&amp;ncel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Save the report as PDF…</source>
        <translation>Bericht als PDF speichern…</translation>
    </message>
    <message>
        <source>Runs the analyses of a tax audit on the journal: numbering, days without records, the digit tests of the daily takings, Benford&apos;s law, the share of cash, the hours and the cancellations.</source>
        <translation>Führt die Analysen einer Betriebsprüfung über das Journal aus: Nummerierung, Tage ohne Datensätze, die Ziffernprüfungen der Tageseinnahmen, das Benfordsche Gesetz, den Baranteil, die Uhrzeiten und die Stornos.</translation>
    </message>
    <message>
        <source>Writes the findings and the charts into a PDF to keep with the hand-over.</source>
        <translation>Schreibt die Befunde und die Diagramme in ein PDF, das mit der Übergabe aufbewahrt wird.</translation>
    </message>
    <message>
        <source>Progress of the check</source>
        <translation>Fortschritt der Prüfung</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>Befunde</translation>
    </message>
    <message>
        <source>Fin&amp;dings:</source>
        <translation>Be&amp;funde:</translation>
    </message>
    <message>
        <source>Choose a backup in the export step first.</source>
        <translation>Wählen Sie zuerst im Exportschritt eine Sicherung.</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>every month</source>
        <translation>jeder Monat</translation>
    </message>
    <message>
        <source>Error: %1
What to do: %2</source>
        <translation>Fehler: %1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>Stopped as you asked: nothing was checked.</source>
        <translation>Angehalten, wie gewünscht: Es wurde nichts geprüft.</translation>
    </message>
    <message>
        <source>%1 records, %2 to %3</source>
        <translation>%1 Datensätze, %2 bis %3</translation>
    </message>
    <message>
        <source>Flagged by an auditor&apos;s tests: %1, in this journal of %2; each is explained below.</source>
        <translation>Von den Tests einer Prüfung beanstandet: %1, in diesem Journal mit %2; jeder Befund ist unten erklärt.</translation>
    </message>
    <message>
        <source>No test flags this journal of %1; what an auditor may ask about: %2.</source>
        <translation>Kein Test beanstandet dieses Journal mit %1; wonach ein Prüfer fragen könnte: %2.</translation>
    </message>
    <message>
        <source>No test flags this journal of %1.</source>
        <translation>Kein Test beanstandet dieses Journal mit %1.</translation>
    </message>
    <message>
        <source>%1 – %2
%3; %4.
%5</source>
        <translation>%1 – %2
%3; %4.
%5</translation>
    </message>
    <message>
        <source>Save the report of the check</source>
        <translation>Bericht der Prüfung speichern</translation>
    </message>
    <message>
        <source>check.pdf</source>
        <translation>pruefung.pdf</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Report not saved</source>
        <translation>Bericht nicht gespeichert</translation>
    </message>
    <message>
        <source>The report could not be written to %1: %2</source>
        <translation>Der Bericht konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Check e&amp;very register</source>
        <translation>&amp;Jede Kasse prüfen</translation>
    </message>
    <message>
        <source>Checks each backup of the export step for the period, one after the other, and sums up what the tests make of each.</source>
        <translation>Prüft jede Sicherung des Exportschritts für den Zeitraum, eine nach der anderen, und fasst zusammen, was die Tests aus jeder machen.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ExportPage</name>
    <message>
        <source>GDPd&amp;U package</source>
        <translation>GDPd&amp;U-Paket</translation>
    </message>
    <message>
        <source>&amp;INDEX_INFO line</source>
        <translation>&amp;INDEX_INFO-Zeile</translation>
    </message>
    <message>
        <source>S&amp;kip the line check</source>
        <translation>Zeilen&amp;prüfung überspringen</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>Pack&amp;age for hand-over</source>
        <translation>Für die Über&amp;gabe packen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Ope&amp;n folder</source>
        <translation>Ordner ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Vie&amp;w protocol</source>
        <translation>Proto&amp;koll zeigen</translation>
    </message>
    <message>
        <source>The table file gobd.csv with its description index.xml and the DTD, as an auditor&apos;s software imports them.</source>
        <translation>Die Tabellendatei gobd.csv mit ihrer Beschreibung index.xml und der DTD, wie die Prüfsoftware sie einliest.</translation>
    </message>
    <message>
        <source>Heads the table with the backup&apos;s INDEX_INFO line; the index.xml of a GDPdU package does not declare it.</source>
        <translation>Stellt der Tabelle die INDEX_INFO-Zeile der Sicherung voran; die index.xml eines GDPdU-Pakets sieht sie nicht vor.</translation>
    </message>
    <message>
        <source>Writes the lines as they decrypt, damaged ones included, without checking and repairing them.</source>
        <translation>Schreibt die Zeilen so, wie sie entschlüsselt werden, beschädigte eingeschlossen, ohne sie zu prüfen und zu reparieren.</translation>
    </message>
    <message>
        <source>Progress of the export</source>
        <translation>Fortschritt des Exports</translation>
    </message>
    <message>
        <source>Stops the job; the target folder stays as it was.</source>
        <translation>Bricht den Auftrag ab; der Zielordner bleibt, wie er war.</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Choo&amp;se…</source>
        <translation>Aus&amp;wählen…</translation>
    </message>
    <message>
        <source>Choose a backup file</source>
        <translation>Eine Sicherungsdatei auswählen</translation>
    </message>
    <message>
        <source>Choose fol&amp;der…</source>
        <translation>O&amp;rdner wählen…</translation>
    </message>
    <message>
        <source>Choose the target folder</source>
        <translation>Den Zielordner wählen</translation>
    </message>
    <message>
        <source>Advanced:</source>
        <translation>Erweitert:</translation>
    </message>
    <message>
        <source>&amp;Backup file:</source>
        <translation>Si&amp;cherungsdatei:</translation>
    </message>
    <message>
        <source>&amp;Period:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>&amp;Target folder:</source>
        <translation>Ziel&amp;ordner:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Messa&amp;ges:</source>
        <translation>&amp;Meldungen:</translation>
    </message>
    <message>
        <source>Choose a backup: one just read, or a backup file of an earlier read.</source>
        <translation>Wählen Sie eine Sicherung: eine eben gelesene oder die Sicherungsdatei eines früheren Lesens.</translation>
    </message>
    <message>
        <source>Backup files (*.enc);;All files (*)</source>
        <translation>Sicherungsdateien (*.enc);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Choose the folder for the export</source>
        <translation>Den Ordner für den Export wählen</translation>
    </message>
    <message>
        <source>Looking into %1…</source>
        <translation>%1 wird angesehen…</translation>
    </message>
    <message>
        <source>Error: %1
What to do: %2</source>
        <translation>Fehler: %1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>no records</source>
        <translation>keine Datensätze</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>its data matches the MD5 value of its header</source>
        <translation>ihre Daten stimmen mit dem MD5-Wert ihres Kopfes überein</translation>
    </message>
    <message>
        <source>its data does NOT match the MD5 value of its header: it has been altered or damaged</source>
        <translation>ihre Daten stimmen NICHT mit dem MD5-Wert ihres Kopfes überein: sie wurde verändert oder beschädigt</translation>
    </message>
    <message>
        <source>Register %1 · %2 · %3 records · read from %4 · %5.</source>
        <translation>Kasse %1 · %2 · %3 Datensätze · gelesen von %4 · %5.</translation>
    </message>
    <message>
        <source>The last month lies before the first.</source>
        <translation>Der letzte Monat liegt vor dem ersten.</translation>
    </message>
    <message>
        <source>Choose the months again.</source>
        <translation>Wählen Sie die Monate neu.</translation>
    </message>
    <message>
        <source>Stopping: waiting for the running job to end…</source>
        <translation>Abbruch: warte, bis der laufende Auftrag endet…</translation>
    </message>
    <message>
        <source>Nothing was written: what is already there was kept.</source>
        <translation>Nichts wurde geschrieben: was schon da ist, wurde behalten.</translation>
    </message>
    <message>
        <source>This is already in the target folder:
%1

Replace it?</source>
        <translation>Dies ist schon im Zielordner:
%1

Ersetzen?</translation>
    </message>
    <message>
        <source>Replace the earlier export?</source>
        <translation>Den früheren Export ersetzen?</translation>
    </message>
    <message>
        <source>Stopped as you asked: nothing was written.</source>
        <translation>Angehalten, wie gewünscht: Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Cop&amp;y its path</source>
        <translation>Pfad kopiere&amp;n</translation>
    </message>
    <message>
        <source>Copies the path of what was written, to paste it into a mail or an upload form.</source>
        <translation>Kopiert den Pfad des Geschriebenen, um ihn in eine E-Mail oder ein Upload-Formular einzufügen.</translation>
    </message>
    <message>
        <source>Writes the table file, with GDPdU its description too, into a folder of the target: to look at, check or import yourself.</source>
        <translation>Schreibt die Tabellendatei, mit GDPdU auch ihre Beschreibung, in einen Ordner des Ziels: zum Ansehen, Prüfen oder selbst Importieren.</translation>
    </message>
    <message>
        <source>Makes the one file to give the tax office: the GDPdU export, verified, packed with its manifest and the protocol to sign into one archive.</source>
        <translation>Erstellt die eine Datei für das Finanzamt: den geprüften GDPdU-Export, mit seinem Manifest und dem zu unterschreibenden Protokoll in ein Archiv gepackt.</translation>
    </message>
    <message>
        <source>Looking into %1… %2 %</source>
        <translation>%1 wird angesehen… %2 %</translation>
    </message>
    <message>
        <source>Package eve&amp;ry register</source>
        <translation>&amp;Jede Kasse packen</translation>
    </message>
    <message>
        <source>Packs each backup listed above for the period into an archive of its own, one after the other, and sums them up.</source>
        <translation>Packt jede oben aufgeführte Sicherung für den Zeitraum in ein eigenes Archiv, eine nach der anderen, und fasst sie zusammen.</translation>
    </message>
    <message>
        <source>%1: %2 %3</source>
        <translation>%1: %2 %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Done, with findings: each register&apos;s verdict is below.</source>
        <translation>Fertig, mit Befunden: Das Urteil jeder Kasse steht darunter.</translation>
    </message>
    <message>
        <source>Done: an archive for each register is written.</source>
        <translation>Fertig: Für jede Kasse ist ein Archiv geschrieben.</translation>
    </message>
    <message>
        <source>Each archive is one register&apos;s file for the tax office, with its own protocol to sign.</source>
        <translation>Jedes Archiv ist die Datei einer Kasse für das Finanzamt, mit ihrem eigenen Protokoll zum Unterschreiben.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ExportVerdict</name>
    <message>
        <source>%1
What to do: %2</source>
        <translation>%1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation>Abgebrochen: nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Failed: nothing was written.</source>
        <translation>Fehlgeschlagen: nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Done: the hand-over archive is written.</source>
        <translation>Fertig: das Übergabearchiv ist geschrieben.</translation>
    </message>
    <message>
        <source>Done, with findings: the hand-over archive is written.</source>
        <translation>Fertig, mit Befunden: das Übergabearchiv ist geschrieben.</translation>
    </message>
    <message>
        <source>Done: the export is complete and proven.</source>
        <translation>Fertig: der Export ist vollständig und belegt.</translation>
    </message>
    <message>
        <source>The target folder is as it was: no export and no archive was put there.</source>
        <translation>Der Zielordner ist, wie er war: kein Export und kein Archiv wurde dort abgelegt.</translation>
    </message>
    <message>
        <source>The backup&apos;s index reports %1 problems; the messages above name them.</source>
        <translation>Der Index der Sicherung meldet %1 Probleme; die Meldungen oben nennen sie.</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Wo: %1</translation>
    </message>
    <message>
        <source>MD5 proof: the exported data matches the MD5 value in the backup&apos;s header.</source>
        <translation>MD5-Nachweis: die exportierten Daten stimmen mit dem MD5-Wert im Kopf der Sicherung überein.</translation>
    </message>
    <message>
        <source>MD5 proof: the backup&apos;s data matches the value in its header, %1.</source>
        <translation>MD5-Nachweis: die Daten der Sicherung stimmen mit dem Wert in ihrem Kopf überein, %1.</translation>
    </message>
    <message>
        <source>MD5 proof failed: the backup&apos;s data gives %1, its header says %2.</source>
        <translation>MD5-Nachweis misslungen: die Daten der Sicherung ergeben %1, ihr Kopf nennt %2.</translation>
    </message>
    <message>
        <source>Records in the table file: %1.</source>
        <translation>Datensätze in der Tabellendatei: %1.</translation>
    </message>
    <message>
        <source>The protocol %1 in the archive states all of this.</source>
        <translation>Das Protokoll %1 im Archiv hält all dies fest.</translation>
    </message>
    <message>
        <source>The line check was skipped: the lines are as they decrypted.</source>
        <translation>Die Zeilenprüfung wurde übersprungen: die Zeilen sind so, wie sie entschlüsselt wurden.</translation>
    </message>
    <message>
        <source>Every record passed the line check: none were repaired and none were lost.</source>
        <translation>Jeder Datensatz hat die Zeilenprüfung bestanden: keiner wurde repariert, keiner ging verloren.</translation>
    </message>
    <message>
        <source>… and %1 more, listed in the messages.</source>
        <translation>… und %1 weitere, in den Meldungen aufgeführt.</translation>
    </message>
    <message>
        <source>Done, with findings: the export is written and its data proven; the lines below say what is missing or damaged.</source>
        <translation>Fertig, mit Befunden: Der Export ist geschrieben und seine Daten sind belegt; die Zeilen darunter sagen, was fehlt oder beschädigt ist.</translation>
    </message>
    <message>
        <source>Give the tax office this file: %1 (%2).</source>
        <translation>Geben Sie dem Finanzamt diese Datei: %1 (%2).</translation>
    </message>
    <message>
        <source>Before that, print the protocol (View protocol shows it), check it and sign it: the signed protocol with its SHA-256 values vouches for the data.</source>
        <translation>Drucken Sie vorher das Protokoll (Protokoll zeigen zeigt es), prüfen und unterschreiben Sie es: Das unterschriebene Protokoll mit seinen SHA-256-Werten bürgt für die Daten.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::FolderOpener</name>
    <message>
        <source>No file manager opened</source>
        <translation>Kein Dateimanager geöffnet</translation>
    </message>
    <message>
        <source>No file manager could be opened to show the folder. It is:
%1</source>
        <translation>Es konnte kein Dateimanager geöffnet werden, um den Ordner zu zeigen. Er ist:
%1</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::MainWindow</name>
    <message>
        <source>&amp;1 Card</source>
        <translation>&amp;1 Karte</translation>
    </message>
    <message>
        <source>&amp;2 Read</source>
        <translation>&amp;2 Lesen</translation>
    </message>
    <message>
        <source>&amp;3 Export and hand over</source>
        <translation>&amp;3 Exportieren und übergeben</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>Follow the &amp;system</source>
        <translation>Wie das &amp;System</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Fiscora</source>
        <translation>&amp;Über Fiscora</translation>
    </message>
    <message>
        <source>Fiscora</source>
        <translation>Fiscora</translation>
    </message>
    <message>
        <source>%1 – no register – Fiscora</source>
        <translation>%1 – keine Kasse – Fiscora</translation>
    </message>
    <message>
        <source>%1 – registers %2 – Fiscora</source>
        <translation>%1 – Kassen %2 – Fiscora</translation>
    </message>
    <message>
        <source>Stop the running job?</source>
        <translation>Den laufenden Auftrag abbrechen?</translation>
    </message>
    <message>
        <source>A job is still running. Stop it and close the window?

The job stops cleanly: nothing half written is left behind.</source>
        <translation>Ein Auftrag läuft noch. Ihn abbrechen und das Fenster schließen?

Der Auftrag endet sauber: nichts halb Geschriebenes bleibt zurück.</translation>
    </message>
    <message>
        <source>About Fiscora</source>
        <translation>Über Fiscora</translation>
    </message>
    <message>
        <source>Fiscora %1

Backs up the journal of a cash register from its SD card and exports it for a tax audit under the German GoBD/GDPdU rules.</source>
        <translation>Fiscora %1

Sichert das Journal einer Kasse von ihrer SD-Karte und exportiert es für eine Betriebsprüfung nach GoBD/GDPdU.</translation>
    </message>
    <message>
        <source>Help on this &amp;step</source>
        <translation>Hilfe zu diesem &amp;Schritt</translation>
    </message>
    <message>
        <source>Put the register&apos;s SD card into a card reader and choose it under &quot;Cards plugged in&quot;, or choose a copy of it with &quot;Choose folder&quot;. Each register on it shows with a calendar of its months: ✓ a data file the index announces, ✗ announced but missing, + there but not announced, ! cannot be opened, ? no index file to judge by. The records themselves are checked when the card is read. Nothing is written in this step.</source>
        <translation>Stecken Sie die SD-Karte der Kasse in ein Kartenlesegerät und wählen Sie sie unter „Eingesteckte Karten“, oder wählen Sie eine Kopie davon mit „Ordner wählen“. Jede Kasse darauf erscheint mit einem Kalender ihrer Monate: ✓ eine Datendatei, die der Index ankündigt, ✗ angekündigt, aber fehlend, + vorhanden, aber nicht angekündigt, ! lässt sich nicht öffnen, ? keine Indexdatei zum Beurteilen. Die Datensätze selbst werden beim Lesen der Karte geprüft. In diesem Schritt wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>Reading copies the months of each register into one backup file in the target folder and checks them against the card&apos;s index. Choose everything or a period, then &quot;Read&quot;. The card is only read; a backup already in the target folder is replaced only when you say so. Keep the backups: every export and hand-over is made from them.</source>
        <translation>Das Lesen kopiert die Monate jeder Kasse in je eine Sicherungsdatei im Zielordner und prüft sie gegen den Index der Karte. Wählen Sie alles oder einen Zeitraum, dann „Lesen“. Die Karte wird nur gelesen; eine Sicherung, die schon im Zielordner liegt, wird nur ersetzt, wenn Sie es sagen. Bewahren Sie die Sicherungen auf: Jeder Export und jede Übergabe wird aus ihnen gemacht.</translation>
    </message>
    <message>
        <source>Choose a backup and a period. &quot;Package for hand-over&quot; makes the one file for the tax office: a zip archive with the GDPdU export, verified, its manifest and the protocol to print, check and sign. &quot;Export&quot; writes the export folder alone, to look at or to check. The verdict says what was written, whether its data is proven by the backup&apos;s MD5 value, and what is missing or damaged.</source>
        <translation>Wählen Sie eine Sicherung und einen Zeitraum. „Für die Übergabe packen“ erstellt die eine Datei für das Finanzamt: ein Zip-Archiv mit dem geprüften GDPdU-Export, seinem Manifest und dem Protokoll zum Drucken, Prüfen und Unterschreiben. „Exportieren“ schreibt nur den Exportordner, zum Ansehen oder Prüfen. Das Urteil sagt, was geschrieben wurde, ob seine Daten durch den MD5-Wert der Sicherung belegt sind und was fehlt oder beschädigt ist.</translation>
    </message>
    <message>
        <source>&amp;4 Before the audit</source>
        <translation>&amp;4 Vor der Prüfung</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::MonthCalendar</name>
    <message>
        <source>Months of the register %1</source>
        <translation>Monate der Kasse %1</translation>
    </message>
    <message>
        <source>A row per year, a column per month; each cell tells what a read would find.</source>
        <translation>Eine Zeile je Jahr, eine Spalte je Monat; jede Zelle sagt, was ein Lesen fände.</translation>
    </message>
    <message>
        <source>%1: %2 – %3</source>
        <translation>%1: %2 – %3</translation>
    </message>
    <message>
        <source>Data file missing</source>
        <translation>Datendatei fehlt</translation>
    </message>
    <message>
        <source>Not announced</source>
        <translation>Nicht angekündigt</translation>
    </message>
    <message>
        <source>Cannot be opened</source>
        <translation>Nicht zu öffnen</translation>
    </message>
    <message>
        <source>No index file</source>
        <translation>Keine Indexdatei</translation>
    </message>
    <message>
        <source>Nothing</source>
        <translation>Nichts</translation>
    </message>
    <message>
        <source>the index file announces data, but the data file is not on the card.</source>
        <translation>die Indexdatei kündigt Daten an, aber die Datendatei ist nicht auf der Karte.</translation>
    </message>
    <message>
        <source>a data file is there that the index file does not announce.</source>
        <translation>eine Datendatei ist da, die die Indexdatei nicht ankündigt.</translation>
    </message>
    <message>
        <source>the data file is there but cannot be opened; a read leaves the month out.</source>
        <translation>die Datendatei ist da, lässt sich aber nicht öffnen; ein Lesen lässt den Monat aus.</translation>
    </message>
    <message>
        <source>a data file is there, but without an index file it cannot be checked.</source>
        <translation>eine Datendatei ist da, aber ohne Indexdatei kann sie nicht geprüft werden.</translation>
    </message>
    <message>
        <source>neither a data file nor announced.</source>
        <translation>weder eine Datendatei noch angekündigt.</translation>
    </message>
    <message>
        <source>Announced</source>
        <translation>Angekündigt</translation>
    </message>
    <message>
        <source>the data file is there, as the index file announces; its records are checked when the card is read.</source>
        <translation>die Datendatei ist da, wie die Indexdatei ankündigt; ihre Datensätze werden beim Lesen der Karte geprüft.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::MonthPicker</name>
    <message>
        <source>%1: month</source>
        <translation>%1: Monat</translation>
    </message>
    <message>
        <source>%1: year</source>
        <translation>%1: Jahr</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ProgressBars</name>
    <message>
        <source>No job running</source>
        <translation>Kein Vorgang läuft</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ProtocolDialog</name>
    <message>
        <source>Protocol of the hand-over of the register %1</source>
        <translation>Protokoll der Übergabe der Kasse %1</translation>
    </message>
    <message>
        <source>Hand-over protocol</source>
        <translation>Übergabeprotokoll</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ReadPage</name>
    <message>
        <source>No card chosen yet: choose one in the first step.</source>
        <translation>Noch keine Karte gewählt: wählen Sie eine im ersten Schritt.</translation>
    </message>
    <message>
        <source>&amp;Read</source>
        <translation>&amp;Lesen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Next: export and hand over</source>
        <translation>&amp;Weiter: exportieren und übergeben</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Kasse</translation>
    </message>
    <message>
        <source>Backup file</source>
        <translation>Sicherungsdatei</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Backups written</source>
        <translation>Geschriebene Sicherungen</translation>
    </message>
    <message>
        <source>Reads the card into one backup file per register.</source>
        <translation>Liest die Karte in eine Sicherungsdatei je Kasse.</translation>
    </message>
    <message>
        <source>Stops the read; no half written backup is left behind.</source>
        <translation>Bricht das Lesen ab; keine halb geschriebene Sicherung bleibt zurück.</translation>
    </message>
    <message>
        <source>Choose fol&amp;der…</source>
        <translation>O&amp;rdner wählen…</translation>
    </message>
    <message>
        <source>Choose the target folder</source>
        <translation>Den Zielordner wählen</translation>
    </message>
    <message>
        <source>Card:</source>
        <translation>Karte:</translation>
    </message>
    <message>
        <source>&amp;Period:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>&amp;Target folder:</source>
        <translation>Ziel&amp;ordner:</translation>
    </message>
    <message>
        <source>Messa&amp;ges:</source>
        <translation>&amp;Meldungen:</translation>
    </message>
    <message>
        <source>&amp;Backups written:</source>
        <translation>Geschriebene Si&amp;cherungen:</translation>
    </message>
    <message>
        <source>%1, which holds no register.</source>
        <translation>%1, auf der keine Kasse ist.</translation>
    </message>
    <message>
        <source>%1, registers %2</source>
        <translation>%1, Kassen %2</translation>
    </message>
    <message>
        <source>Choose the folder for the backups</source>
        <translation>Den Ordner für die Sicherungen wählen</translation>
    </message>
    <message>
        <source>The last month lies before the first.</source>
        <translation>Der letzte Monat liegt vor dem ersten.</translation>
    </message>
    <message>
        <source>Choose the months again.</source>
        <translation>Wählen Sie die Monate neu.</translation>
    </message>
    <message>
        <source>Reading %1 into %2…</source>
        <translation>%1 wird nach %2 gelesen…</translation>
    </message>
    <message>
        <source>Stopping: waiting for the running job to end…</source>
        <translation>Abbruch: warte, bis der laufende Auftrag endet…</translation>
    </message>
    <message>
        <source>Nothing was read: the backups already there were kept.</source>
        <translation>Nichts wurde gelesen: die schon vorhandenen Sicherungen wurden behalten.</translation>
    </message>
    <message>
        <source>These backups are already in the target folder:
%1

Replace them with a new read of the card?</source>
        <translation>Diese Sicherungen sind schon im Zielordner:
%1

Sie durch ein neues Lesen der Karte ersetzen?</translation>
    </message>
    <message>
        <source>Replace the backups?</source>
        <translation>Die Sicherungen ersetzen?</translation>
    </message>
    <message>
        <source>CR#%1</source>
        <translation>CR#%1</translation>
    </message>
    <message>
        <source>Progress of the register %1</source>
        <translation>Fortschritt der Kasse %1</translation>
    </message>
    <message>
        <source>%v of %m data files</source>
        <translation>%v von %m Datendateien</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>no data files</source>
        <translation>keine Datendateien</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Stopped: no backup was written.</source>
        <translation>Abgebrochen: keine Sicherung wurde geschrieben.</translation>
    </message>
    <message>
        <source>Not backed up: %1</source>
        <translation>Nicht gesichert: %1</translation>
    </message>
    <message>
        <source>Backed up; the index reports %1 problems, see the messages.</source>
        <translation>Gesichert; der Index meldet %1 Probleme, siehe die Meldungen.</translation>
    </message>
    <message>
        <source>Backed up; the index is correct.</source>
        <translation>Gesichert; der Index ist in Ordnung.</translation>
    </message>
    <message>
        <source>Stopped as you asked: no backup was written.</source>
        <translation>Angehalten, wie gewünscht: Es wurde keine Sicherung geschrieben.</translation>
    </message>
    <message>
        <source>Op&amp;en folder</source>
        <translation>Ordner ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Shows the target folder with the backups in the file manager.</source>
        <translation>Zeigt den Zielordner mit den Sicherungen im Dateimanager.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::ReportView</name>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>What the running job reports, newest last.</source>
        <translation>Was der laufende Auftrag meldet, das Neueste zuletzt.</translation>
    </message>
    <message>
        <source>Problem: %1</source>
        <translation>Problem: %1</translation>
    </message>
    <message>
        <source>Error: %1
What to do: %2</source>
        <translation>Fehler: %1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::SourcePage</name>
    <message>
        <source>&amp;Next: read the card</source>
        <translation>&amp;Weiter: die Karte lesen</translation>
    </message>
    <message>
        <source>The card, its maker&apos;s folder, a register&apos;s folder, or a copy of one</source>
        <translation>Die Karte, ihr Herstellerordner, der Ordner einer Kasse oder eine Kopie davon</translation>
    </message>
    <message>
        <source>&amp;Choose folder…</source>
        <translation>O&amp;rdner wählen…</translation>
    </message>
    <message>
        <source>Sho&amp;w</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>C&amp;ards plugged in:</source>
        <translation>&amp;Eingesteckte Karten:</translation>
    </message>
    <message>
        <source>Card or copy f&amp;older:</source>
        <translation>Karte oder Kopie (&amp;Ordner):</translation>
    </message>
    <message>
        <source>Plug in the register&apos;s SD card, or choose a folder that holds a copy of it.</source>
        <translation>Stecken Sie die SD-Karte der Kasse ein oder wählen Sie einen Ordner mit einer Kopie davon.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>No card is plugged in.</source>
        <translation>Keine Karte ist eingesteckt.</translation>
    </message>
    <message>
        <source>Choose the card or a copy of it</source>
        <translation>Die Karte oder eine Kopie davon wählen</translation>
    </message>
    <message>
        <source>Looking at %1…</source>
        <translation>%1 wird angesehen…</translation>
    </message>
    <message>
        <source>No register found in %1.</source>
        <translation>Keine Kasse in %1 gefunden.</translation>
    </message>
    <message>
        <source>Choose the card itself, its maker&apos;s folder or a register&apos;s folder.</source>
        <translation>Wählen Sie die Karte selbst, ihren Herstellerordner oder den Ordner einer Kasse.</translation>
    </message>
    <message>
        <source>%1 holds the registers %2.</source>
        <translation>%1 enthält die Kassen %2.</translation>
    </message>
    <message>
        <source>Error: %1
What to do: %2</source>
        <translation>Fehler: %1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>Register %1</source>
        <translation>Kasse %1</translation>
    </message>
    <message>
        <source>A read would fail: %1
What to do: %2</source>
        <translation>Ein Lesen würde fehlschlagen: %1
Was zu tun ist: %2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>%1, %2 to %3</source>
        <translation>%1, %2 bis %3</translation>
    </message>
    <message>
        <source>Backup file: %1 · Data files: %2 · Index file: %3</source>
        <translation>Sicherungsdatei: %1 · Datendateien: %2 · Indexdatei: %3</translation>
    </message>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>missing or unreadable, so the months cannot be judged</source>
        <translation>fehlt oder ist unlesbar, daher lassen sich die Monate nicht beurteilen</translation>
    </message>
    <message>
        <source>Problem: %1</source>
        <translation>Problem: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Legend of the month calendars</source>
        <translation>Legende der Monatskalender</translation>
    </message>
    <message>
        <source>Problem: the data file of %1 is on the card but cannot be opened; the index report above counts it as missing, and a read leaves the month out.</source>
        <translation>Problem: Die Datendatei von %1 ist auf der Karte, lässt sich aber nicht öffnen; der Indexbericht oben zählt sie als fehlend, und ein Lesen lässt den Monat aus.</translation>
    </message>
</context>
<context>
    <name>fiscora::desktop::SpanPicker</name>
    <message>
        <source>E&amp;verything</source>
        <translation>&amp;Alles</translation>
    </message>
    <message>
        <source>&amp;One month</source>
        <translation>&amp;Ein Monat</translation>
    </message>
    <message>
        <source>Fro&amp;m–to</source>
        <translation>&amp;Von–bis</translation>
    </message>
    <message>
        <source>First month</source>
        <translation>Erster Monat</translation>
    </message>
    <message>
        <source>Last month</source>
        <translation>Letzter Monat</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>everything</source>
        <translation>alles</translation>
    </message>
    <message>
        <source>A year or a quarter</source>
        <translation>Ein Jahr oder ein Quartal</translation>
    </message>
    <message>
        <source>Sets the span to a whole year or quarter.</source>
        <translation>Setzt den Zeitraum auf ein ganzes Jahr oder Quartal.</translation>
    </message>
    <message>
        <source>Year or quarter…</source>
        <translation>Jahr oder Quartal…</translation>
    </message>
    <message>
        <source>%1, quarter %2</source>
        <translation>%1, Quartal %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Backs up a cash register&apos;s journal from its SD card and exports it for a tax audit.</source>
        <translation>Sichert das Journal einer Kasse von ihrer SD-Karte und exportiert es für eine Betriebsprüfung.</translation>
    </message>
    <message>
        <source>The card or a copy of it to read, or a backup file to export.</source>
        <translation>Die zu lesende Karte oder eine Kopie davon, oder eine zu exportierende Sicherungsdatei.</translation>
    </message>
    <message>
        <source>The folder for the backups, or for the export.</source>
        <translation>Der Ordner für die Sicherungen oder für den Export.</translation>
    </message>
</context>
</TS>
