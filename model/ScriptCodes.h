#pragma once

// The numbers of the script language: command codes, the targets that
// assignments, Inc, Dec and the Play family write, and the figures that the
// show, hide, trace and colour commands name. Compiled scripts hold them and
// the interpreter reads them.

// Command codes of a compiled command (Tlineset::Code).
enum TScriptCode : int {
    ScriptIgnored = 0,           // a line without "#": does nothing
    ScriptAssign = 1,            // target := expression
    ScriptWait = 2,              // Wait(ms)
    ScriptClearAllTraces = 3,    // ClrAImg
    ScriptClearTraces = 4,       // ClrAImg(figures)
    ScriptInc = 5,               // Inc(target, step)
    ScriptDec = 6,               // Dec(target, step)
    ScriptTrigger = 7,           // On names Change
    ScriptFor = 8,               // expanded into an assignment and a While
    ScriptNext = 9,              // expanded into Inc, Wend, Dec
    ScriptWhile = 10,
    ScriptWend = 11,
    ScriptDraw = 12,
    ScriptSetAImg = 13,          // draw the changed objects into the trace
    ScriptCalc = 14,
    ScriptIf = 16,
    ScriptEndif = 17,
    ScriptElse = 18,
    ScriptRefresh = 19,          // ShowAImg, Refresh
    ScriptRefreshStickers = 20,  // RefreshSticker, RefreshMemo, ShowMemo
    ScriptSetArea = 21,
    ScriptTracesOn = 22,         // AimgOn
    ScriptTracesOff = 23,        // AimgOff
    ScriptShowObj = 24,
    ScriptHideObj = 25,
    ScriptInvShowObj = 26,
    ScriptOverDraw = 27,
    ScriptPlay = 30,             // Play(v, e1, e2, e3)
    ScriptPlaySync = 31,
    ScriptPlayRepeat = 32,
    ScriptPlayAfter = 33,
    ScriptPlayGenerated = 34,    // Play without arguments
    ScriptSetSampleRate = 35,
    ScriptWaitDeadline = 36,     // Wait without arguments
    ScriptSetTime = 37,
    ScriptSetColor = 38,
    ScriptSetLineColor = 39,
    ScriptSetInsideColor = 40,
    ScriptClearAllCells = 41,    // ClrAllCells
    ScriptCall = 90,
    ScriptSub = 91,
    ScriptHideScript = 95,
    ScriptPause = 96,
    ScriptSeparator = 98,        // "---" ends a script
    ScriptEnd = 99,
    ScriptComment = 100,
    ScriptSyntaxError = 101,     // a "#" line that is no command
};

// The commands whose Target is what they write or sweep.
constexpr bool WritesTarget(int code)
{
    return code == ScriptAssign || code == ScriptInc || code == ScriptDec || code == ScriptPlay
        || code == ScriptPlaySync || code == ScriptPlayAfter;
}

// Targets (Tlineset::Target of assignments, Inc, Dec and the Play family).
// 1..14 are the parameters in the order of ParamLetters.
inline constexpr int FirstParamTarget = 1;
inline constexpr int LastParamTarget = 14;
// The four script variables and the two pairs of them.
inline constexpr int TargetVariableX = 15;
inline constexpr int TargetVariableY = 16;
inline constexpr int TargetVariableZ = 17;
inline constexpr int TargetVariableW = 18;
inline constexpr int TargetPairXY = 19; // "X": (x, y)
inline constexpr int TargetPairZW = 20; // "Y": (z, w)
// What part of an object a target writes.
enum TObjectSelector : int {
    SelectorX = 1,
    SelectorY = 2,
    SelectorR = 3,
    SelectorWhole = 4,
};
// Object k's part s is target 100·s + k.
inline constexpr int ObjectTargetStep = 100;
constexpr int ObjectTarget(int object, int selector)
{
    return ObjectTargetStep * selector + object;
}
// P(k) with its selector: the arguments after the value are k and the
// selector's number.
inline constexpr int TargetObjectByNumber = 1000;
// Cells(r, c) and CellsP(r, c): the arguments after the value are r and c.
inline constexpr int TargetCells = 2000;
inline constexpr int TargetCellsPair = 2001;
// A Call or Sub whose script was not found.
inline constexpr int NoScriptTarget = -1;

// Figures named by ClrAImg(, ShowObj(, HideObj(, InvShowObj( and the
// SetColor family: kind·100 + number.
enum TScriptFigureKind : int {
    ScriptFigureObject = 1,   // an object letter, 1..22
    ScriptFigureFunction = 2, // y1..y20
    ScriptFigureRelation = 3, // c1..c9
    ScriptFigureSegment = 4,  // L1..L30
};
inline constexpr int ScriptFigureStep = 100;
constexpr int ScriptFigure(int kind, int number)
{
    return ScriptFigureStep * kind + number;
}

// A document holds at most this many scripts.
inline constexpr int MaxScripts = 20;
