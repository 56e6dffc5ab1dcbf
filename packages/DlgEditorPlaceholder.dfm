object DlgEditor: TDlgEditor
  Left = 200
  Top = 120
  Width = 500
  Height = 400
  Caption = 'Lumetra'
end
