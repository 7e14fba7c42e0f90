@echo off
rem Drop a .pad file on this file: the board is converted with velmorta and exported
rem with velmorta-export in the pad file's own folder, as typed there by hand. Kept in
rem ASCII, so cmd reads it alike in every console code page (932, 437, ...).
setlocal
set "programs=%~dp0"
rem Each file is taken from here: a relative name of the command line means this folder.
set "start=%cd%"
set "failed=0"
if "%~1"=="" goto usage
call :output_folder

:next
if "%~1"=="" goto end
if /i not "%~x1"==".pad" (
  echo velmorta-drop: "%~nx1" is no pad file: drop a .pad file on velmorta-drop.cmd.
  set "failed=1"
  goto skip
)
if not exist "%~f1" (
  echo velmorta-drop: cannot find "%~f1".
  set "failed=1"
  goto skip
)
echo == "%~f1"
cd /d "%~dp1"
if not defined folder goto convert
if exist "%folder%\" goto convert
mkdir "%folder%"
if errorlevel 1 (
  echo velmorta-drop: cannot make the output folder "%folder%" in "%~dp1": check that you may write there.
  set "failed=1"
  goto skip
)
:convert
"%programs%velmorta.exe" "%~n1"
if errorlevel 1 (
  echo velmorta-drop: the conversion of "%~nx1" failed: the lines above and the run log "%~n1_.vel" say why.
  set "failed=1"
  goto skip
)
"%programs%velmorta-export.exe" "%~n1"
if errorlevel 1 (
  echo velmorta-drop: the export of "%~n1" failed: the lines above say why.
  set "failed=1"
  goto skip
)
set "where=%~dp1"
if defined folder for %%F in ("%folder%") do set "where=%%~fF"
echo velmorta-drop: "%~nx1" converted and exported; the files are in "%where%".
:skip
cd /d "%start%"
shift
goto next

:usage
echo velmorta-drop: drop a board's .pad file on velmorta-drop.cmd (in Explorer) to
echo convert it with velmorta and export it with velmorta-export in the pad file's
echo folder; the output folder of velmorta.cfg is made there if it is missing.
echo From a command prompt: velmorta-drop.cmd C:\boards\board.pad
echo GETTING-STARTED.txt and docs\guide.md tell more.
set "failed=1"

:end
pause
exit /b %failed%

rem The output folder as the converter reads it from velmorta.cfg beside the programs:
rem the text after the first space of a ">g" line read after a ">p2" line (a ">p1"
rem line stops taking them); the last one taken wins.
:output_folder
set "folder="
set "taking="
if not exist "%programs%velmorta.cfg" exit /b
for /f "usebackq delims=" %%L in ("%programs%velmorta.cfg") do (
  set "line=%%L"
  call :setting
)
exit /b

:setting
rem Without its quotes (a folder's name holds none) the line stays text inside the
rem quotes below, whatever else it holds; the dot keeps it from being empty.
set "line=.%line:"=%"
if "%line:~0,4%"==".>p1" set "taking="
if "%line:~0,4%"==".>p2" set "taking=1"
if not "%line:~0,3%"==".>g" exit /b
if not defined taking exit /b
set "folder="
if not "%line:* =%"=="%line%" set "folder=%line:* =%"
exit /b
