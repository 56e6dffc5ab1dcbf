object DlgEditor: TDlgEditor
  Left = 200
  Top = 120
  BorderStyle = bsDialog
  Caption = 'Common Dialog Translations Editor'
  ClientHeight = 375
  ClientWidth = 493
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'Arial'
  Font.Style = []
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 16
  object BtnOK: TButton
    Left = 388
    Top = 336
    Width = 97
    Height = 25
    Caption = '&OK'
    ModalResult = 1
    TabOrder = 0
    OnClick = BtnOKClick
  end
  object BtnCancel: TButton
    Left = 276
    Top = 336
    Width = 97
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    TabOrder = 1
    OnClick = BtnCancelClick
  end
  object FormNotebook: TTabbedNotebook
    Left = 12
    Top = 8
    Width = 473
    Height = 313
    TabFont.Charset = DEFAULT_CHARSET
    TabFont.Color = clBtnText
    TabFont.Height = -13
    TabFont.Name = 'Arial'
    TabFont.Style = []
    TabOrder = 2
    OnChange = FormNotebookChange
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Translations'
      object LblResList: TLabel
        Left = 16
        Top = 8
        Width = 191
        Height = 16
        Caption = 'Dialog properties to be translated'
      end
      object Label2: TLabel
        Left = 16
        Top = 128
        Width = 142
        Height = 16
        Caption = 'Original value of property'
      end
      object LblTranslation: TLabel
        Left = 16
        Top = 192
        Width = 63
        Height = 16
        Caption = 'Translation'
      end
      object PropList: TListBox
        Left = 16
        Top = 26
        Width = 265
        Height = 95
        Hint = 'These are the internationalized properties to be translated'
        ItemHeight = 16
        MultiSelect = True
        ShowHint = True
        Sorted = True
        TabOrder = 0
        OnClick = PropListClick
        OnKeyDown = PropListKeyDown
      end
      object BtnNew: TButton
        Left = 296
        Top = 24
        Width = 99
        Height = 25
        Hint = 'Specify a new property to be translated'
        Caption = '&New'
        ShowHint = True
        TabOrder = 1
        OnClick = BtnNewClick
      end
      object BtnRemove: TButton
        Left = 296
        Top = 56
        Width = 99
        Height = 25
        Hint = 'Remove the property from the translation list'
        Caption = '&Remove'
        ShowHint = True
        TabOrder = 2
        OnClick = BtnRemoveClick
      end
      object EdtOrgTranslation: TMemo
        Left = 16
        Top = 145
        Width = 433
        Height = 40
        Color = clBtnFace
        HideSelection = False
        ReadOnly = True
        TabOrder = 3
      end
      object EdtTranslation: TMemo
        Left = 16
        Top = 209
        Width = 433
        Height = 40
        Hint = 'Edit the translation. Use PageUp/PageDown to move between properties'
        HideSelection = False
        ShowHint = True
        TabOrder = 4
        WantTabs = True
        OnExit = EdtTranslationExit
        OnKeyDown = EdtTranslationKeyDown
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Options'
      object Bevel1: TBevel
        Left = 8
        Top = 16
        Width = 441
        Height = 65
        Shape = bsFrame
      end
      object LblNrOfTranslations: TLabel
        Left = 16
        Top = 24
        Width = 146
        Height = 16
        Caption = 'Total nr of translations:'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -13
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object LblTot: TLabel
        Left = 377
        Top = 26
        Width = 63
        Height = 16
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'Nr of items'
      end
      object LblStringsLocalized: TLabel
        Left = 16
        Top = 48
        Width = 164
        Height = 16
        Caption = 'Nr of properties localized:'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -13
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object LblLocalized: TLabel
        Left = 377
        Top = 50
        Width = 63
        Height = 16
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'Nr of items'
      end
      object CkxMove: TCheckBox
        Left = 8
        Top = 153
        Width = 441
        Height = 17
        Caption = 'PageUp/PageDown moves to next untranslated property'
        Checked = True
        TabOrder = 0
        OnClick = CkxMoveClick
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Font'
      object GroupDisplayFont: TGroupBox
        Left = 8
        Top = 9
        Width = 441
        Height = 81
        Caption = 'Display Font'
        TabOrder = 0
        object LblDisplayFont: TLabel
          Left = 8
          Top = 24
          Width = 78
          Height = 16
          Caption = 'Name of Font'
        end
        object BtnDisplayFont: TButton
          Left = 336
          Top = 48
          Width = 97
          Height = 25
          Caption = 'Select'
          TabOrder = 0
          OnClick = BtnDisplayFontClick
        end
      end
      object GroupEditFont: TGroupBox
        Left = 8
        Top = 112
        Width = 441
        Height = 81
        Caption = 'Edit Font'
        TabOrder = 1
        object LblEditFont: TLabel
          Left = 8
          Top = 24
          Width = 78
          Height = 16
          Caption = 'Name of Font'
        end
        object BtnEditFont: TButton
          Left = 336
          Top = 48
          Width = 97
          Height = 25
          Caption = 'Select'
          TabOrder = 0
          OnClick = BtnEditFontClick
        end
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Reading order'
      object GroupReadingOrder: TRadioGroup
        Left = 8
        Top = 16
        Width = 441
        Height = 81
        Caption = 'Reading Order'
        ItemIndex = 1
        Items.Strings = (
          'Right To Left (Arabic, Hebrew)'
          'Left to Right')
        TabOrder = 0
        OnClick = GroupReadingOrderClick
      end
      object GroupFarEastern: TGroupBox
        Left = 8
        Top = 112
        Width = 441
        Height = 89
        Caption = 'Far Eastern Input Method Editors'
        TabOrder = 1
        object Label1: TLabel
          Left = 16
          Top = 24
          Width = 417
          Height = 49
          AutoSize = False
          Caption = 
            'In Far Eastern Windows editions, set the IME functionality in th' +
            'e control panel. Activate the IME with Ctrl+Spacebar.'
          WordWrap = True
        end
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Dialogs'
      object LblAvailableProps: TLabel
        Left = 12
        Top = 8
        Width = 112
        Height = 16
        Caption = 'Properties available'
      end
      object ListAvail: TListBox
        Left = 8
        Top = 28
        Width = 261
        Height = 213
        ItemHeight = 16
        MultiSelect = True
        ShowHint = True
        Sorted = True
        TabOrder = 0
        OnClick = ListAvailClick
        OnMouseMove = ListAvailMouseMove
      end
      object GrpSelected: TGroupBox
        Left = 280
        Top = 152
        Width = 153
        Height = 89
        Caption = 'Selected properties'
        TabOrder = 1
        object LblSelected: TLabel
          Left = 15
          Top = 25
          Width = 74
          Height = 16
          Caption = '%s Selected'
        end
        object BtnIncludeProp: TButton
          Left = 16
          Top = 48
          Width = 97
          Height = 25
          Hint = 'Include the selected properties in the translation list.'
          Caption = 'Include'
          Enabled = False
          ShowHint = True
          TabOrder = 0
          OnClick = BtnIncludePropClick
        end
      end
      object BtnRescan: TButton
        Left = 296
        Top = 48
        Width = 97
        Height = 25
        Caption = 'Rescan'
        TabOrder = 2
        OnClick = BtnRescanClick
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Dictionary'
      object Bevel4: TBevel
        Left = 8
        Top = 16
        Width = 441
        Height = 105
        Shape = bsFrame
      end
      object LblTranslate: TLabel
        Left = 16
        Top = 28
        Width = 321
        Height = 33
        AutoSize = False
        Caption = 'Translate properties using the selected dictionary'
        WordWrap = True
      end
      object BtnTranslate: TButton
        Left = 340
        Top = 32
        Width = 97
        Height = 25
        Caption = 'Translate'
        TabOrder = 0
        OnClick = BtnTranslateClick
      end
      object LblExport: TLabel
        Left = 16
        Top = 76
        Width = 321
        Height = 33
        AutoSize = False
        Caption = 'Create or update a dictionary with translations'
        WordWrap = True
      end
      object BtnExport: TButton
        Left = 340
        Top = 80
        Width = 97
        Height = 25
        Caption = 'Export'
        TabOrder = 3
        OnClick = BtnExportClick
      end
      object Bevel5: TBevel
        Left = 8
        Top = 144
        Width = 441
        Height = 105
        Shape = bsFrame
      end
      object LblLoad: TLabel
        Left = 16
        Top = 156
        Width = 321
        Height = 33
        AutoSize = False
        Caption = 'Load properties from an external textfile.'
        WordWrap = True
      end
      object BtnLoad: TButton
        Left = 340
        Top = 160
        Width = 97
        Height = 25
        Caption = 'Load'
        TabOrder = 1
        OnClick = BtnLoadClick
      end
      object LblSave: TLabel
        Left = 16
        Top = 204
        Width = 321
        Height = 33
        AutoSize = False
        Caption = 'Save current properties to an external textfile.'
        WordWrap = True
      end
      object BtnSave: TButton
        Left = 340
        Top = 208
        Width = 97
        Height = 25
        Caption = 'Save'
        TabOrder = 2
        OnClick = BtnSaveClick
      end
    end
  end
end
