<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>TDialogs</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMDIChild</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo|Repeat the last operation undone</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TMDIChild</name>
    <message>
        <source>%1 was changed on disk after its recovery copy was made.
Overwrite it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TMainForm</name>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo|Repeat the last operation undone</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TPanelResults</name>
    <message>
        <source>During the Open frame.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>During the Close frame, after all %1 blocks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>During block %1 of %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TParamet</name>
    <message>
        <source>In the settings file, %1: rename the panel, choose its rate or remove it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TPreviewCommands</name>
    <message>
        <source>Animation written to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TRecoveryCopies</name>
    <message>
        <source>no recovery folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recovery copies are kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recovery copies can be kept: %1.
Unsaved changes are lost if ZorEdit does not close properly: save your documents often.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery copies cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recovery copy of %1 cannot be written: %2.
Unsaved changes are lost if ZorEdit does not close properly: save your documents often.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (the copy is from %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be written; the copies were kept in %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zor::TVstup</name>
    <message>
        <source>Tick where the counters go.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
