{
	"patcher": {
		"fileversion": 1,
		"appversion": {
			"major": 8,
			"minor": 5,
			"revision": 0,
			"architecture": "x64",
			"modernui": 1
		},
		"classnamespace": "box",
		"rect": [
			80.0,
			80.0,
			747.0,
			712.0
		],
		"bglocked": 0,
		"openinpresentation": 0,
		"default_fontsize": 12.0,
		"default_fontface": 0,
		"default_fontname": "Arial",
		"gridonopen": 1,
		"gridsize": [
			15.0,
			15.0
		],
		"gridsnaponopen": 1,
		"objectsnaponopen": 1,
		"statusbarvisible": 2,
		"toolbarvisible": 1,
		"boxanimatetime": 200,
		"enablehscroll": 1,
		"enablevscroll": 1,
		"description": "",
		"digest": "",
		"tags": "",
		"style": "",
		"subpatcher_template": "",
		"boxes": [
			{
				"box": {
					"id": "obj-1",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"fontsize": 20.0,
					"fontface": 1,
					"patching_rect": [
						20.0,
						20.0,
						86.0,
						30.0
					],
					"text": "selfmap"
				}
			},
			{
				"box": {
					"id": "obj-2",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						52.0,
						423.0,
						21.0
					],
					"text": "Learn integer lists on a chain of units that keeps neighbouring values together"
				}
			},
			{
				"box": {
					"id": "obj-3",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						87.0,
						339.0,
						21.0
					],
					"text": "Each tab shows one part of selfmap, with an object of its own."
				}
			},
			{
				"box": {
					"id": "obj-4",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						30.0,
						118.0,
						51.0,
						23.0
					],
					"text": "p basic",
					"patcher": {
						"fileversion": 1,
						"appversion": {
							"major": 8,
							"minor": 5,
							"revision": 0,
							"architecture": "x64",
							"modernui": 1
						},
						"classnamespace": "box",
						"rect": [
							80.0,
							80.0,
							747.0,
							712.0
						],
						"bglocked": 0,
						"openinpresentation": 0,
						"default_fontsize": 12.0,
						"default_fontface": 0,
						"default_fontname": "Arial",
						"gridonopen": 1,
						"gridsize": [
							15.0,
							15.0
						],
						"gridsnaponopen": 1,
						"objectsnaponopen": 1,
						"statusbarvisible": 2,
						"toolbarvisible": 1,
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-5",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										86.0,
										30.0
									],
									"text": "selfmap"
								}
							},
							{
								"box": {
									"id": "obj-6",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										423.0,
										21.0
									],
									"text": "Learn integer lists on a chain of units that keeps neighbouring values together"
								}
							},
							{
								"box": {
									"id": "obj-7",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										106.0,
										23.0
									],
									"text": "r ---selfmap-basic"
								}
							},
							{
								"box": {
									"id": "obj-8",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										105.0,
										23.0
									],
									"text": "selfmap 8 30 127"
								}
							},
							{
								"box": {
									"id": "obj-9",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										151.0,
										126.0,
										470.0,
										21.0
									],
									"text": "arguments: units (here 8), learning horizon (here 30), top of the value range (here 127)"
								}
							},
							{
								"box": {
									"id": "obj-10",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										65.0,
										23.0
									],
									"text": "print units"
								}
							},
							{
								"box": {
									"id": "obj-11",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										83.0,
										21.0
									],
									"text": "units and lists"
								}
							},
							{
								"box": {
									"id": "obj-12",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										43.0,
										21.0
									],
									"text": "Learn"
								}
							},
							{
								"box": {
									"id": "obj-13",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										276.0,
										219.0,
										23.0
									],
									"text": "learn 10 100, learn 60 60, learn 110 10"
								}
							},
							{
								"box": {
									"id": "obj-14",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										276.0,
										394.0,
										21.0
									],
									"text": "teach it lists: two numbers here (a new length starts a new random map)"
								}
							},
							{
								"box": {
									"id": "obj-15",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										307.0,
										213.0,
										23.0
									],
									"text": "learn 20 90, learn 70 50, learn 100 20"
								}
							},
							{
								"box": {
									"id": "obj-16",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										307.0,
										181.0,
										21.0
									],
									"text": "more points along the same line"
								}
							},
							{
								"box": {
									"id": "obj-17",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										58.0,
										338.0,
										33.0,
										21.0
									],
									"text": "Ask"
								}
							},
							{
								"box": {
									"id": "obj-18",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										363.0,
										39.0,
										23.0
									],
									"text": "bang"
								}
							},
							{
								"box": {
									"id": "obj-19",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										363.0,
										193.0,
										21.0
									],
									"text": "a random unit, out of the left outlet"
								}
							},
							{
								"box": {
									"id": "obj-20",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										394.0,
										19.0,
										23.0
									],
									"text": "1"
								}
							},
							{
								"box": {
									"id": "obj-21",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										394.0,
										231.0,
										21.0
									],
									"text": "unit 1 (units count from 1 along the chain)"
								}
							},
							{
								"box": {
									"id": "obj-22",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										86.0,
										425.0,
										61.0,
										23.0
									],
									"text": "list 10 20"
								}
							},
							{
								"box": {
									"id": "obj-23",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										425.0,
										408.0,
										21.0
									],
									"text": "pass a list through: elements may be replaced by a unit's values (mutation)"
								}
							},
							{
								"box": {
									"id": "obj-24",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										456.0,
										85.0,
										23.0
									],
									"text": "change 10 20"
								}
							},
							{
								"box": {
									"id": "obj-25",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										456.0,
										94.0,
										21.0
									],
									"text": "the same as list"
								}
							},
							{
								"box": {
									"id": "obj-26",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										114.0,
										487.0,
										127.0,
										21.0
									],
									"text": "Keep what it learned"
								}
							},
							{
								"box": {
									"id": "obj-27",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										114.0,
										512.0,
										148.0,
										23.0
									],
									"text": "write selfmap_model.json"
								}
							},
							{
								"box": {
									"id": "obj-28",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										512.0,
										436.0,
										21.0
									],
									"text": "save the units, the sizes, the bounds and the attributes (no name: a save dialog)"
								}
							},
							{
								"box": {
									"id": "obj-29",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										128.0,
										543.0,
										147.0,
										23.0
									],
									"text": "read selfmap_model.json"
								}
							},
							{
								"box": {
									"id": "obj-30",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										543.0,
										335.0,
										21.0
									],
									"text": "load it back, soon after, all at once (no name: an open dialog)"
								}
							},
							{
								"box": {
									"id": "obj-31",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										142.0,
										574.0,
										104.0,
										21.0
									],
									"text": "Show and forget"
								}
							},
							{
								"box": {
									"id": "obj-32",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										142.0,
										599.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-33",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										599.0,
										183.0,
										21.0
									],
									"text": "print the map to the Max window"
								}
							},
							{
								"box": {
									"id": "obj-34",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										156.0,
										630.0,
										39.0,
										23.0
									],
									"text": "clear"
								}
							},
							{
								"box": {
									"id": "obj-35",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										291.0,
										630.0,
										301.0,
										21.0
									],
									"text": "new random units, and the neighbourhood starts again"
								}
							},
							{
								"box": {
									"id": "obj-36",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										669.0,
										108.0,
										23.0
									],
									"text": "s ---selfmap-basic"
								}
							},
							{
								"box": {
									"id": "obj-37",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										150.0,
										669.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-7",
										0
									],
									"destination": [
										"obj-8",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										0
									],
									"destination": [
										"obj-10",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-13",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-15",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-18",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-20",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-22",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-24",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-27",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-29",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-32",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-34",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							}
						]
					}
				}
			},
			{
				"box": {
					"id": "obj-38",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						97.0,
						118.0,
						72.0,
						23.0
					],
					"text": "p attributes",
					"patcher": {
						"fileversion": 1,
						"appversion": {
							"major": 8,
							"minor": 5,
							"revision": 0,
							"architecture": "x64",
							"modernui": 1
						},
						"classnamespace": "box",
						"rect": [
							80.0,
							80.0,
							747.0,
							712.0
						],
						"bglocked": 0,
						"openinpresentation": 0,
						"default_fontsize": 12.0,
						"default_fontface": 0,
						"default_fontname": "Arial",
						"gridonopen": 1,
						"gridsize": [
							15.0,
							15.0
						],
						"gridsnaponopen": 1,
						"objectsnaponopen": 1,
						"statusbarvisible": 2,
						"toolbarvisible": 1,
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-39",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										86.0,
										30.0
									],
									"text": "selfmap"
								}
							},
							{
								"box": {
									"id": "obj-40",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										423.0,
										21.0
									],
									"text": "Learn integer lists on a chain of units that keeps neighbouring values together"
								}
							},
							{
								"box": {
									"id": "obj-41",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										127.0,
										23.0
									],
									"text": "r ---selfmap-attributes"
								}
							},
							{
								"box": {
									"id": "obj-42",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										105.0,
										23.0
									],
									"text": "selfmap 8 30 127"
								}
							},
							{
								"box": {
									"id": "obj-43",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										151.0,
										126.0,
										342.0,
										21.0
									],
									"text": "attributes may be box arguments too: selfmap 8 @mutation 50"
								}
							},
							{
								"box": {
									"id": "obj-44",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										65.0,
										23.0
									],
									"text": "print units"
								}
							},
							{
								"box": {
									"id": "obj-45",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										83.0,
										21.0
									],
									"text": "units and lists"
								}
							},
							{
								"box": {
									"id": "obj-46",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										262.0,
										21.0
									],
									"text": "Attributes (the messages show the defaults)"
								}
							},
							{
								"box": {
									"id": "obj-47",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										276.0,
										75.0,
										23.0
									],
									"text": "mutation 40"
								}
							},
							{
								"box": {
									"id": "obj-48",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										276.0,
										313.0,
										21.0
									],
									"text": "chance in percent that list replaces an element (0 to 100)"
								}
							},
							{
								"box": {
									"id": "obj-49",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										307.0,
										71.0,
										23.0
									],
									"text": "influence 4"
								}
							},
							{
								"box": {
									"id": "obj-50",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										307.0,
										265.0,
										21.0
									],
									"text": "starting neighbourhood radius in units (1 to 100)"
								}
							},
							{
								"box": {
									"id": "obj-51",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										338.0,
										45.0,
										23.0
									],
									"text": "pas 1."
								}
							},
							{
								"box": {
									"id": "obj-52",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										338.0,
										265.0,
										21.0
									],
									"text": "fraction of the way a winning unit moves (0 to 1)"
								}
							},
							{
								"box": {
									"id": "obj-53",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										369.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-54",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										369.0,
										279.0,
										21.0
									],
									"text": "print the map and the attributes to the Max window"
								}
							},
							{
								"box": {
									"id": "obj-55",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										408.0,
										129.0,
										23.0
									],
									"text": "s ---selfmap-attributes"
								}
							},
							{
								"box": {
									"id": "obj-56",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										171.0,
										408.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-41",
										0
									],
									"destination": [
										"obj-42",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-42",
										0
									],
									"destination": [
										"obj-44",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-47",
										0
									],
									"destination": [
										"obj-55",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-49",
										0
									],
									"destination": [
										"obj-55",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-51",
										0
									],
									"destination": [
										"obj-55",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-53",
										0
									],
									"destination": [
										"obj-55",
										0
									]
								}
							}
						]
					}
				}
			},
			{
				"box": {
					"id": "obj-57",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						185.0,
						118.0,
						65.0,
						23.0
					],
					"text": "p drawing",
					"patcher": {
						"fileversion": 1,
						"appversion": {
							"major": 8,
							"minor": 5,
							"revision": 0,
							"architecture": "x64",
							"modernui": 1
						},
						"classnamespace": "box",
						"rect": [
							80.0,
							80.0,
							747.0,
							712.0
						],
						"bglocked": 0,
						"openinpresentation": 0,
						"default_fontsize": 12.0,
						"default_fontface": 0,
						"default_fontname": "Arial",
						"gridonopen": 1,
						"gridsize": [
							15.0,
							15.0
						],
						"gridsnaponopen": 1,
						"objectsnaponopen": 1,
						"statusbarvisible": 2,
						"toolbarvisible": 1,
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-58",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										86.0,
										30.0
									],
									"text": "selfmap"
								}
							},
							{
								"box": {
									"id": "obj-59",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										423.0,
										21.0
									],
									"text": "Learn integer lists on a chain of units that keeps neighbouring values together"
								}
							},
							{
								"box": {
									"id": "obj-60",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										120.0,
										23.0
									],
									"text": "r ---selfmap-drawing"
								}
							},
							{
								"box": {
									"id": "obj-61",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										105.0,
										23.0
									],
									"text": "selfmap 8 30 127"
								}
							},
							{
								"box": {
									"id": "obj-62",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										65.0,
										23.0
									],
									"text": "print units"
								}
							},
							{
								"box": {
									"id": "obj-63",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										83.0,
										21.0
									],
									"text": "units and lists"
								}
							},
							{
								"box": {
									"id": "obj-64",
									"maxclass": "lcd",
									"numinlets": 1,
									"numoutlets": 4,
									"outlettype": [
										"list",
										"list",
										"int",
										""
									],
									"patching_rect": [
										137.0,
										179.0,
										200.0,
										200.0
									]
								}
							},
							{
								"box": {
									"id": "obj-65",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										137.0,
										383.0,
										125.0,
										21.0
									],
									"text": "dump_lcd draws here"
								}
							},
							{
								"box": {
									"id": "obj-66",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										428.0,
										300.0,
										37.0
									],
									"text": "learn 10 100, learn 60 60, learn 110 10, learn 20 90, learn 70 50"
								}
							},
							{
								"box": {
									"id": "obj-67",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										428.0,
										107.0,
										21.0
									],
									"text": "points along a line"
								}
							},
							{
								"box": {
									"id": "obj-68",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										473.0,
										51.0,
										23.0
									],
									"text": "lcd 150"
								}
							},
							{
								"box": {
									"id": "obj-69",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										473.0,
										225.0,
										21.0
									],
									"text": "size of the drawing in pixels (100 to 800)"
								}
							},
							{
								"box": {
									"id": "obj-70",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										504.0,
										65.0,
										23.0
									],
									"text": "dump_lcd"
								}
							},
							{
								"box": {
									"id": "obj-71",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										504.0,
										296.0,
										21.0
									],
									"text": "draw the map: one column per unit, one cell per value"
								}
							},
							{
								"box": {
									"id": "obj-72",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										543.0,
										122.0,
										23.0
									],
									"text": "s ---selfmap-drawing"
								}
							},
							{
								"box": {
									"id": "obj-73",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										164.0,
										543.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-60",
										0
									],
									"destination": [
										"obj-61",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-61",
										0
									],
									"destination": [
										"obj-62",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-61",
										1
									],
									"destination": [
										"obj-64",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-66",
										0
									],
									"destination": [
										"obj-72",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-68",
										0
									],
									"destination": [
										"obj-72",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-70",
										0
									],
									"destination": [
										"obj-72",
										0
									]
								}
							}
						]
					}
				}
			}
		],
		"lines": []
	}
}
