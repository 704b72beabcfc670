@call C:\\Ghost\TWAY.EXE
@cls
@echo.
@ECHO 制作--启明映像向导--http://qiming.example.org
@echo.
@echo 将2:1:3上的内容备份到文件C:\\WinBF.gho
@echo 压缩率：高度压缩
@echo 附加说明：
@echo 备份时间：2026/12/7 8:30:00
@echo.
@C:\\Ghost\CHOICE 继续吗?
@If errorlevel 1 if not errorlevel 2 C:\\Ghost\Ghost.exe -clone,mode=pdump,src=2:1:3,dst=C:\\WinBF.gho -sure -z3 -span -split=650
@if errorlevel 2 if not errorlevel 3 goto Show
:Show
@echo.
