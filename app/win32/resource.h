/* Resource and control IDs of the main window and its pages, named after
   the controls. Included by the resource script, so plain preprocessor only. */
#ifndef TOVARO_RESOURCE_H
#define TOVARO_RESOURCE_H

#define IDI_Tovaro 1

#define IDD_MainForm 100
/* The pages, in tab order: IDD_AboutTab + page number. */
#define IDD_AboutTab 101
#define IDD_BankTab 102
#define IDD_EditorTab 103
#define IDD_CPanelTab 104
#define IDD_AudioTab 105
#define IDD_LoadTab 106
#define IDD_VoicesTab 107

/* Ok and Cancel are the dialog manager's own IDs, so that Enter and Escape reach them. */
#define IDC_OkBtn 1
#define IDC_CancelBtn 2
#define IDC_HelpBtn 1001
#define IDC_ApplyBtn 1002
#define IDC_PageControl 1003

#define IDC_AboutImage 1100
#define IDC_NameLabel 1101
#define IDC_InfoLabel 1102
#define IDC_FoundLabel 1103
#define IDC_FoundRule 1104
#define IDC_DriverLabel 1105
#define IDC_BankLabel 1106

#define IDC_DefaultRadio 1200
#define IDC_DisabledRadio 1201
#define IDC_ExtendedRadio 1202
#define IDC_DanceRadio 1203
#define IDC_UserRadio 1204
#define IDC_UserBankSetEdit 1205
#define IDC_UserBankPathBtn 1206
#define IDC_LabelSysRes 1207
#define IDC_RestoreBtn 1208
#define IDC_TestTuneBtn 1209
#define IDC_BankSetsLabel 1210
#define IDC_AddBankSetBtn 1211

#define IDC_SelectBankHeading 1300
#define IDC_SelectBankRule 1301
#define IDC_UserBankEdit 1302
#define IDC_UserBankBtn 1303
#define IDC_CopyFromBtn 1304
#define IDC_CommandsHeading 1305
#define IDC_CommandsRule 1306
#define IDC_BankExtractBtn 1307
#define IDC_EditorSetBtn 1308
#define IDC_RebootCheck 1309
#define IDC_BankCreateBtn 1310
#define IDC_EditorDelete 1311
#define IDC_EditSignCorrect 1312
#define IDC_EditorTypeCombo 1313
#define IDC_SamplesBtn 1314

#define IDC_HiddenTabsHeading 1400
#define IDC_HiddenTabsRule 1401
#define IDC_WaveOutCheck 1402
#define IDC_MiscCheck 1403
#define IDC_SoundCardFeaturesHeading 1404
#define IDC_SoundCardFeaturesRule 1405
#define IDC_FeaturesCombo 1406
#define IDC_SPDIFInCombo 1407
#define IDC_SPDIFInLabel 1409
#define IDC_CPanelBtn 1408

#define IDC_HiFiCheck 1500
#define IDC_NoteLabel 1501

#define IDC_C3DCheck 1600
#define IDC_GamePortCheck 1601
#define IDC_LegacyCheck 1602
#define IDC_SpdifCheck 1603
#define IDC_VSVLCheck 1604
#define IDC_PowerCheck 1605

#define IDC_ModLabel 1700
#define IDC_ModEdit 1701
#define IDC_ModUpDown 1702
#define IDC_WodLabel 1703
#define IDC_WodEdit 1704
#define IDC_WodUpDown 1705
#define IDC_DSLabel 1706
#define IDC_DSEdit 1707
#define IDC_DSUpDown 1708
#define IDC_DS3DLabel 1709
#define IDC_DS3DEdit 1710
#define IDC_DS3DUpDown 1711
#define IDC_VoicesRule 1712
#define IDC_TotalLabel 1713
#define IDC_TotallyEdit 1714

/* The result line of each page that changes something: what the last command did. */
#define IDC_BankResult 1800
#define IDC_EditorResult 1801
#define IDC_CPanelResult 1802
#define IDC_AudioResult 1803
#define IDC_LoadResult 1804
#define IDC_VoicesResult 1805

/* Posted to the window when a voice count lost the focus; wParam is its index. */
#define WM_VoiceEditLeft (WM_APP + 1)

#endif
