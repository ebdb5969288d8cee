<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>%n file failed to convert</numerusform>
            <numerusform>%n files failed to convert</numerusform>
        </translation>
    </message>
</context>
</TS>
