@call C:\QM\Ghost\TWAY.EXE
@cls
@echo.
@ECHO 制作--启明映像向导--http://qiming.example.org
@echo.
@echo 将文件将C:\QM\WinBF.gho中的内容恢复到第二硬盘
@echo 压缩率：中度压缩
@echo 附加说明：
@echo 备份时间：2026/12/7 8:30:00
@echo.
@C:\QM\Ghost\CHOICE 继续吗?
@If errorlevel 1 if not errorlevel 2 goto HF
@if errorlevel 2 if not errorlevel 3 goto Show
:HF
@echo.
@C:\QM\Ghost\CHOICE 第二硬盘上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?
@If errorlevel 1 if not errorlevel 2 C:\QM\Ghost\Ghost.exe -clone,mode=load,src=C:\QM\WinBF.gho,dst=2,sze1=30P,sze2=30P,sze3=40P -sure -fx -fro
@if errorlevel 2 if not errorlevel 3 goto Show
:Show
@echo.
