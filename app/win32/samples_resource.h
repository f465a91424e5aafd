/* Dialogs and control IDs of the Samples window and its two small dialogs.
   Included by the resource script, so plain preprocessor only. */
#ifndef TOVARO_SAMPLES_RESOURCE_H
#define TOVARO_SAMPLES_RESOURCE_H

#define IDD_SamplesWindow 120
#define IDD_SampleProperties 121
#define IDD_FontSamples 122

/* Close is the dialog manager's Cancel, so that Escape reaches it. */
#define IDC_SamplesCloseBtn 2
#define IDC_SampleList 2000
#define IDC_PlayBtn 2001
#define IDC_StopBtn 2002
#define IDC_PropertiesBtn 2003
#define IDC_ReplaceBtn 2004
#define IDC_ExportWavBtn 2005
#define IDC_ExportSoundFontBtn 2006
#define IDC_SamplesResult 2007

#define IDC_SampleNameLabel 2100
#define IDC_SampleNameEdit 2101
#define IDC_RootKeyLabel 2102
#define IDC_RootKeyEdit 2103
#define IDC_FineTuneLabel 2104
#define IDC_FineTuneEdit 2105
#define IDC_NoLoopCheck 2106
#define IDC_LoopStartLabel 2107
#define IDC_LoopStartEdit 2108
#define IDC_LoopEndLabel 2109
#define IDC_LoopEndEdit 2110
#define IDC_FramesLabel 2111

#define IDC_FontSampleLabel 2200
#define IDC_FontSampleList 2201

#endif
