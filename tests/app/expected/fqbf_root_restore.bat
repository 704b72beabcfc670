@call C:\\Ghost\TWAY.EXE
@cls
@echo.
@ECHO 制作--启明映像向导--http://qiming.example.org
@echo.
@echo 将文件将C:\\WinBF.gho:1:3中的内容恢复到2:1:3
@echo 压缩率：高度压缩
@echo 附加说明：
@echo 备份时间：2026/12/7 8:30:00
@echo.
@C:\\Ghost\CHOICE 继续吗?
@If errorlevel 1 if not errorlevel 2 goto HF
@if errorlevel 2 if not errorlevel 3 goto Show
:HF
@echo.
@C:\\Ghost\CHOICE 2:1:3上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?
@If errorlevel 1 if not errorlevel 2 C:\\Ghost\Ghost.exe -clone,mode=pload,src=C:\\WinBF.gho:1:3,dst=2:1:3 -sure
@if errorlevel 2 if not errorlevel 3 goto Show
:Show
@echo.
