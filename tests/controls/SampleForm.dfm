object SampleForm: TSampleForm
  Left = 200
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Sample of every control'
  ClientHeight = 375
  ClientWidth = 493
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'Arial'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 16
  object BtnOK: TButton
    Left = 388
    Top = 336
    Width = 97
    Height = 25
    Caption = '&OK'
    Default = True
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
    ModalResult = 2
    TabOrder = 1
  end
  object Notebook: TTabbedNotebook
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
    OnChange = NotebookChange
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Texts'
      object Bevel1: TBevel
        Left = 8
        Top = 8
        Width = 449
        Height = 57
      end
      object LblName: TLabel
        Left = 16
        Top = 24
        Width = 41
        Height = 16
        Caption = '&Name:'
        FocusControl = EdtName
      end
      object EdtName: TEdit
        Left = 96
        Top = 20
        Width = 201
        Height = 24
        TabOrder = 0
        Text = 'Lumetra'
      end
      object MemNotes: TMemo
        Left = 8
        Top = 76
        Width = 289
        Height = 89
        Lines.Strings = (
          'First line'
          'Second line')
        TabOrder = 1
        OnExit = MemNotesExit
      end
      object ChkMove: TCheckBox
        Left = 8
        Top = 176
        Width = 289
        Height = 17
        Caption = '&Move to the next untranslated'
        Checked = True
        TabOrder = 2
      end
      object Panel1: TPanel
        Left = 312
        Top = 76
        Width = 145
        Height = 89
        Caption = 'Panel'
        TabOrder = 3
        object RadFirst: TRadioButton
          Left = 8
          Top = 8
          Width = 129
          Height = 17
          Caption = 'First'
          Checked = True
          TabOrder = 0
        end
        object RadSecond: TRadioButton
          Left = 8
          Top = 64
          Width = 129
          Height = 17
          Caption = 'Second'
          TabOrder = 1
        end
      end
    end
    object TTabPage
      Left = 4
      Top = 27
      Width = 465
      Height = 282
      Caption = 'Lists'
      object LstItems: TListBox
        Left = 8
        Top = 8
        Width = 265
        Height = 161
        ItemHeight = 16
        Items.Strings = (
          'Charlie'
          'alpha'
          'Bravo'
          'delta')
        MultiSelect = True
        Sorted = True
        TabOrder = 0
        OnClick = LstItemsClick
      end
      object GrpOrder: TRadioGroup
        Left = 288
        Top = 8
        Width = 169
        Height = 81
        Caption = 'Reading Order'
        ItemIndex = 1
        Items.Strings = (
          'Right To Left'
          'Left to Right')
        TabOrder = 1
      end
      object GrpBox: TGroupBox
        Left = 288
        Top = 100
        Width = 169
        Height = 69
        Caption = 'Group'
        TabOrder = 2
        object BtnInGroup: TButton
          Left = 16
          Top = 28
          Width = 97
          Height = 25
          Caption = 'In&clude'
          TabOrder = 0
        end
      end
    end
  end
end
