@call C:\QM\Ghost\TWAY.EXE
@cls
@echo.
@ECHO 制作--启明映像向导--http://qiming.example.org
@echo.
@echo 将第二硬盘上的内容备份到文件C:\QM\WinBF.gho
@echo 压缩率：中度压缩
@echo 附加说明：
@echo 备份时间：2026/12/7 8:30:00
@echo.
@C:\QM\Ghost\CHOICE 继续吗?
@If errorlevel 1 if not errorlevel 2 C:\QM\Ghost\Ghost.exe -clone,mode=dump,src=2,dst=C:\QM\WinBF.gho -sure -z2 -fx -fro -span -split=700
@if errorlevel 2 if not errorlevel 3 goto Show
:Show
@echo.
