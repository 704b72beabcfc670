@call C:\QM\Ghost\TWAY.EXE
@cls
@echo.
@ECHO 制作--启明映像向导--http://qiming.example.org
@echo.
@echo 将文件将C:\QM\WinBF.gho:1中的内容恢复到1:1
@echo 压缩率：快速压缩
@echo 附加说明：
@echo 备份时间：2026/12/7 8:30:00
@echo.
@C:\QM\Ghost\CHOICE 继续吗?
@If errorlevel 1 if not errorlevel 2 goto HF
@if errorlevel 2 if not errorlevel 3 goto Show
:HF
@echo.
@C:\QM\Ghost\CHOICE 1:1上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?
@If errorlevel 1 if not errorlevel 2 C:\QM\Ghost\Ghost.exe -clone,mode=pload,src=C:\QM\WinBF.gho:1,dst=1:1 -sure -fx -rb -fro
@if errorlevel 2 if not errorlevel 3 goto Show
:Show
@echo.
